#pragma once

#include <juce_graphics/juce_graphics.h>

namespace brevalon
{

// The two process-wide faces every text of the editor is drawn with: "Verdana" regular and bold
// where the system has it, else the DejaVu Sans pair compiled into the binary. They are created
// on first use and released when a processor is destroyed (a later use creates them again).
// Any thread may call these; one process-wide lock guards the faces.
class SharedTypefaces
{
public:
    static juce::Font getRegularFont (float height);
    static juce::Font getBoldFont (float height);
    static juce::Typeface::Ptr getRegularTypeface();
    static juce::Typeface::Ptr getBoldTypeface();

    // Drops both faces. Fonts made from them keep their own reference and stay usable.
    static void release();

    // True while the faces exist (created and not released since).
    static bool areCreated();
};

} // namespace brevalon
