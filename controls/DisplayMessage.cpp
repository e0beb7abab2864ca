#include "controls/DisplayMessage.h"

#include "controls/TextLine.h"

namespace brevalon
{

const char* const DisplayMessage::bandwidthText = "System bandwidth close to audible bandwidth";
const char* const DisplayMessage::bypassedText = "Filter bypassed";

DisplayMessage::DisplayMessage()
{
    setInterceptsMouseClicks (false, false);
    setWantsKeyboardFocus (false);
}

void DisplayMessage::paint (juce::Graphics& g)
{
    const int middle = getHeight() / 2;
    drawBoldWhiteText (g, bandwidthText, 13.0f, middle - textLineHeight, getWidth(), juce::Justification::centred);
    drawBoldWhiteText (g, bypassedText, 13.0f, middle, getWidth(), juce::Justification::centred);
}

} // namespace brevalon
