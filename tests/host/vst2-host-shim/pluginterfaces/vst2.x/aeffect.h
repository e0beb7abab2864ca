// The VST 2.4 interface for JUCE's plug-in hosting, from the free FST headers (Debian's fst-dev),
// with two structs the host hands to plug-ins given the sizes plug-ins write into:
// - VstSpeakerArrangement: FST declares an unsized speakers[] array, while JUCE's host code
//   allocates sizeof (VstSpeakerArrangement) plus the speakers beyond eight; here it has eight.
// - VstPinProperties: FST's ends after shortLabel[8], while plug-ins (JUCE's wrapper among them,
//   which writes a terminated 8-character short label) may write into the 48 reserved bytes that
//   follow it in the VST 2.4 layout; here they are included.
// The fields and their offsets are FST's.
#pragma once

#define VstSpeakerArrangement FstUnsizedSpeakerArrangement
#define VstPinProperties FstShortPinProperties
#include <pluginterfaces/fst/aeffect.h>
#undef VstSpeakerArrangement
#undef VstPinProperties

struct VstSpeakerArrangement
{
    VstInt32 type;
    VstInt32 numChannels;
    VstSpeakerProperties speakers[8];
};

struct VstPinProperties
{
    char label[64];
    VstInt32 flags;
    VstInt32 arrangementType;
    char shortLabel[8];
    char reserved[48];
};
