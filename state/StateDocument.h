#pragma once

#include <juce_core/juce_core.h>

namespace brevalon
{

class ParamManager;

// The state document of the host chunk, without the undo history: the current parameter values,
// the program list ("presets") and the comparison states ("A", "B"); and the program lists that
// the embedded factory presets share with it.
namespace StateDocument
{

// Appends the current values, the programs whose records changed, and A and B to `root`. The
// caller syncs the model first.
void write (const ParamManager& model, juce::XmlElement& root);

// Reads what write writes: values missing from the root take the parameters' defaults; a
// missing "presets", "A" or "B" leaves that part as it is; an "active" number that names no
// program keeps the current one.
void read (ParamManager& model, const juce::XmlElement& root);

// Reads a program list: programs are numbered by "_No_" (or counted from 1 without it), deleted
// ones are skipped, names come from "_Name_", and values from the preset element or its
// maker-named child; with `skipCurrent`, the values of the program "active" names are left alone.
void readProgramList (ParamManager& model, const juce::XmlElement& list, bool skipCurrent);

} // namespace StateDocument
} // namespace brevalon
