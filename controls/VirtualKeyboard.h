#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

namespace brevalon
{

// An on-screen keyboard of small keys that type into a text field at its caret: three letter
// rows, a digit block, and SHIFT, SPACE and BACK below. SHIFT starts on and is one-shot: typing
// a key's character switches it off again. After every key the field gets the keyboard focus
// back; the keys never take it. The field's own input restrictions decide what is accepted.
// It broadcasts no change messages. Occupies 302 × 83 pixels. Message thread only.
class VirtualKeyboard : public juce::Component, public juce::Button::Listener, public juce::ChangeBroadcaster
{
public:
    explicit VirtualKeyboard (juce::TextEditor* targetEditor);
    ~VirtualKeyboard() override;

    void setTargetEditor (juce::TextEditor* editor);

    void paint (juce::Graphics&) override {}
    void resized() override;
    void buttonClicked (juce::Button* button) override;

    // The characters of the key rows, in order.
    static constexpr const char* firstRow = "qwertyuiop+";
    static constexpr const char* secondRow = "asdfghjkl-";
    static constexpr const char* thirdRow = "zxcvbnm()";
    static constexpr const char* digitRow = "7894561230,";

    static constexpr int keySize = 20;
    static constexpr int keyPitch = 21;
    static constexpr int totalWidth = 302;
    static constexpr int totalHeight = 83;

    juce::TextButton& getShiftButton() noexcept { return shiftButton; }
    juce::TextButton& getSpaceButton() noexcept { return spaceButton; }
    juce::TextButton& getBackButton() noexcept { return backButton; }
    // The key showing `character` in either case, or nullptr.
    juce::TextButton* findKey (juce::juce_wchar character) const;

private:
    void addKeys (juce::OwnedArray<juce::TextButton>& row, const char* characters);
    void setUpButton (juce::TextButton& button);
    void setLetterCase (bool upper);
    bool isKey (juce::Button* button) const;

    juce::TextButton shiftButton{ "SHIFT" };
    juce::TextEditor* targetEditor = nullptr;
    juce::OwnedArray<juce::TextButton> firstRowKeys;
    juce::OwnedArray<juce::TextButton> secondRowKeys;
    juce::OwnedArray<juce::TextButton> thirdRowKeys;
    juce::OwnedArray<juce::TextButton> digitKeys;
    juce::TextButton spaceButton{ "SPACE" };
    juce::TextButton backButton{ "BACK" };

    JUCE_DECLARE_NON_COPYABLE (VirtualKeyboard)
};

} // namespace brevalon
