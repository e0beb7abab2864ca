#include "lookandfeel/LfTextEditor.h"

namespace brevalon
{

namespace
{
// The overlay table with the text field's own colours.
const lookandfeel::ColourTable textEditorColours{
    { juce::TextButton::buttonColourId, 0xFFFFFFFF },
    { juce::TextButton::buttonOnColourId, 0xFFFFFFFF },
    { juce::TextEditor::backgroundColourId, 0xFFE3E3E3 },
    { juce::TextEditor::textColourId, 0xFF111111 },
    { juce::TextEditor::highlightedTextColourId, 0xFF111111 },
    { juce::TextEditor::shadowColourId, 0x50000000 },
    { juce::CaretComponent::caretColourId, 0xFF111111 },
    { juce::Label::textColourId, 0xFF111111 },
    { juce::Slider::thumbColourId, 0xFFFFFFFF },
};
} // namespace

LfTextEditor::LfTextEditor()
{
    lookandfeel::applyColours (*this, textEditorColours);
}

void LfTextEditor::fillTextEditorBackground (juce::Graphics& g, int width, int height, juce::TextEditor&)
{
    g.setColour (juce::Colour (0xFFEEEEEE));
    g.fillRect (0, 0, width, height);
}

void LfTextEditor::drawTextEditorOutline (juce::Graphics& g, int width, int height, juce::TextEditor&)
{
    g.setColour (juce::Colours::transparentBlack);
    g.drawRect (0, 0, width, height);
}

} // namespace brevalon
