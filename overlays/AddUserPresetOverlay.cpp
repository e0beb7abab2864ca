#include "overlays/AddUserPresetOverlay.h"

#include "state/StateEngine.h"

namespace brevalon
{

namespace
{
constexpr int panelW = 330;
constexpr int panelH = 221;

// Offsets from the panel and content edges.
constexpr int nameEditorRight = 195, nameEditorTop = 51, nameEditorWidth = 180, nameEditorHeight = 20;
constexpr int keyboardTop = 76, keyboardHeight = 100;
constexpr int confirmRight = 134, confirmBottom = 35, confirmWidth = 120, buttonHeight = 26;
constexpr int cancelGap = 82, cancelWidth = 80;
constexpr int paragraphBaseline = 30;
constexpr int labelTop = 52, labelWidth = 110, labelHeight = 21;

const juce::Colour textColour = juce::Colours::black;
} // namespace

AddUserPresetOverlay::AddUserPresetOverlay (const juce::String& titleText, StateEngine* engine)
    : AddUserPresetOverlay (titleText, engine, "addUserPresetOverlay_", "Create preset",
                            "You are about to create a new global user preset. It will persist across plug-in instances and "
                            "sessions.")
{
}

AddUserPresetOverlay::AddUserPresetOverlay (const juce::String& titleText, StateEngine* engine, const juce::String& prefix,
                                            const juce::String& confirmText, const juce::String& paragraph)
    : WindowOverlay (titleText),
      confirmButton (confirmText),
      actionPrefix (prefix),
      stateEngine (engine),
      paragraphText (paragraph)
{
    panelWidth = panelW;
    panelHeight = panelH;

    nameEditor.setInputRestrictions (maximumNameLength, allowedNameCharacters);
    nameEditor.setWantsKeyboardFocus (true);
    nameEditor.addListener (this);
    addAndMakeVisible (nameEditor);

    for (auto* button : { &confirmButton, &cancelButton })
    {
        button->setTooltip ({});
        button->addListener (this);
        addAndMakeVisible (*button);
    }

    keyboard.addChangeListener (this);
    addAndMakeVisible (keyboard);

    // The field starts empty.
    confirmButton.setEnabled (false);
}

AddUserPresetOverlay::~AddUserPresetOverlay()
{
    keyboard.removeChangeListener (this);
    confirmButton.removeListener (this);
    cancelButton.removeListener (this);
    nameEditor.removeListener (this);
}

void AddUserPresetOverlay::resized()
{
    WindowOverlay::resized();
    const int x0 = panelBounds.getX(), y0 = panelBounds.getY();
    const int cx = contentBounds.getX(), cy = contentBounds.getY();

    nameEditor.setBounds (getWidth() - x0 - nameEditorRight, cy + nameEditorTop, nameEditorWidth, nameEditorHeight);
    keyboard.setBounds (cx, cy + keyboardTop, contentBounds.getWidth(), keyboardHeight);
    confirmButton.setBounds (getWidth() - x0 - confirmRight, y0 + panelHeight - confirmBottom, confirmWidth, buttonHeight);
    cancelButton.setBounds (confirmButton.getX() - cancelGap, confirmButton.getY(), cancelWidth, buttonHeight);
}

void AddUserPresetOverlay::paint (juce::Graphics& g)
{
    drawWindow (g, title);
    const int cx = contentBounds.getX(), cy = contentBounds.getY();
    drawHighlightedParagraph (g, paragraphText, cx, cy + paragraphBaseline, contentBounds.getWidth(), textColour);
    drawHighlightedText (g, "New preset name:", cx + 1, cy + labelTop, labelWidth, labelHeight, false, juce::Justification::centredLeft,
                         true, textColour, paragraphFontHeight);
}

juce::String AddUserPresetOverlay::enteredName() const
{
    return nameEditor.getText().trim();
}

bool AddUserPresetOverlay::isTaken (const juce::String& name) const
{
    return stateEngine != nullptr && stateEngine->programNameExists (name);
}

bool AddUserPresetOverlay::isNameAvailable (const juce::String& name) const
{
    return ! isTaken (name);
}

void AddUserPresetOverlay::updateConfirmButton()
{
    const auto name = enteredName();
    confirmButton.setEnabled (name.isNotEmpty() && isNameAvailable (name));
}

void AddUserPresetOverlay::parentHierarchyChanged()
{
    if (isShowing() && ! nameEditor.hasKeyboardFocus (false))
        nameEditor.grabKeyboardFocus();
}

void AddUserPresetOverlay::textEditorTextChanged (juce::TextEditor&)
{
    updateConfirmButton();
}

void AddUserPresetOverlay::textEditorReturnKeyPressed (juce::TextEditor&)
{
    // Enter follows the confirm button's rule: a refused name is not accepted either.
    const auto name = enteredName();
    if (name.isNotEmpty() && isNameAvailable (name))
        accept();
}

void AddUserPresetOverlay::accept()
{
    presetName = enteredName();
    sendActionMessage (actionPrefix + "add");
    sendChangeMessage();
}

void AddUserPresetOverlay::buttonClicked (juce::Button* button)
{
    if (button == &confirmButton)
        accept();
    else if (button == &cancelButton)
        sendChangeMessage();
    else
        WindowOverlay::buttonClicked (button);
}

} // namespace brevalon
