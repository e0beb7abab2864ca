#pragma once

#include "lookandfeel/LookAndFeelOverlay.h"

namespace brevalon
{

// `LookAndFeelOverlay` for read-only text fields: a light grey field without a visible outline.
class LfTextEditor : public LookAndFeelOverlay
{
public:
    LfTextEditor();

    void fillTextEditorBackground (juce::Graphics& g, int width, int height, juce::TextEditor& editor) override;
    void drawTextEditorOutline (juce::Graphics& g, int width, int height, juce::TextEditor& editor) override;
};

} // namespace brevalon
