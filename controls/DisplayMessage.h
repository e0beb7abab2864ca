#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

namespace brevalon
{

// The magnitude display's top layer: the two-line notice that the sample rate is too low for
// the filter. Paint-only; ignores the mouse and the keyboard.
class DisplayMessage : public juce::Component
{
public:
    static const char* const bandwidthText;
    static const char* const bypassedText;

    DisplayMessage();

    void paint (juce::Graphics&) override;
};

} // namespace brevalon
