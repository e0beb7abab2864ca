#include "state/Clipboard.h"

#include <juce_gui_basics/juce_gui_basics.h>

namespace brevalon
{

void SystemClipboard::copyText (const juce::String& text)
{
    juce::SystemClipboard::copyTextToClipboard (text);
}

juce::String SystemClipboard::getText()
{
    return juce::SystemClipboard::getTextFromClipboard();
}

} // namespace brevalon
