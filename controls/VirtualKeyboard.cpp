#include "controls/VirtualKeyboard.h"

namespace brevalon
{

namespace
{
// The gap between the letter rows and the digit block, and the bottom row.
constexpr int digitBlockGap = 9;
constexpr int bottomRowY = 63;
constexpr int shiftWidth = 41;
constexpr int spaceWidth = 146;
constexpr int backWidth = 41;
constexpr int wideKeyWidth = 41;
} // namespace

VirtualKeyboard::VirtualKeyboard (juce::TextEditor* target)
    : targetEditor (target)
{
    for (auto* button : { &shiftButton, &spaceButton, &backButton })
        setUpButton (*button);

    addKeys (firstRowKeys, firstRow);
    addKeys (secondRowKeys, secondRow);
    addKeys (thirdRowKeys, thirdRow);
    addKeys (digitKeys, digitRow);

    shiftButton.setClickingTogglesState (true);
    shiftButton.setToggleState (true, juce::sendNotificationSync);
    setSize (totalWidth, totalHeight);
}

VirtualKeyboard::~VirtualKeyboard()
{
    for (auto* button : { &shiftButton, &spaceButton, &backButton })
        button->removeListener (this);
    for (auto* row : { &firstRowKeys, &secondRowKeys, &thirdRowKeys, &digitKeys })
        for (auto* key : *row)
            key->removeListener (this);
}

void VirtualKeyboard::setTargetEditor (juce::TextEditor* editor)
{
    targetEditor = editor;
}

void VirtualKeyboard::setUpButton (juce::TextButton& button)
{
    button.setTooltip ({});
    // Keys never take the focus from the text field.
    button.setWantsKeyboardFocus (false);
    button.setMouseClickGrabsKeyboardFocus (false);
    button.addListener (this);
    addAndMakeVisible (button);
}

void VirtualKeyboard::addKeys (juce::OwnedArray<juce::TextButton>& row, const char* characters)
{
    for (auto* c = characters; *c != 0; ++c)
        setUpButton (*row.add (new juce::TextButton (juce::String::charToString ((juce::juce_wchar) (unsigned char)*c))));
}

juce::TextButton* VirtualKeyboard::findKey (juce::juce_wchar character) const
{
    const auto wanted = juce::String::charToString (character);
    for (auto* row : { &firstRowKeys, &secondRowKeys, &thirdRowKeys, &digitKeys })
        for (auto* key : *row)
            if (key->getButtonText().equalsIgnoreCase (wanted))
                return key;
    return nullptr;
}

void VirtualKeyboard::resized()
{
    for (int i = 0; i < firstRowKeys.size(); ++i)
        firstRowKeys[i]->setBounds (keyPitch * i, 0, keySize, keySize);
    for (int i = 0; i < secondRowKeys.size(); ++i)
        secondRowKeys[i]->setBounds (10 + keyPitch * i, keyPitch, keySize, keySize);
    for (int i = 0; i < thirdRowKeys.size(); ++i)
        thirdRowKeys[i]->setBounds (keyPitch + keyPitch * i, 2 * keyPitch, keySize, keySize);

    // 7 8 9 / 4 5 6 / 1 2 3 / a wide 0 and ",".
    const int blockX = keyPitch * firstRowKeys.size() + digitBlockGap;
    const int count = digitKeys.size();
    for (int j = 0; j < count; ++j)
    {
        int column = j % 3, width = keySize;
        if (j == count - 2)
        {
            column = 0;
            width = wideKeyWidth;
        }
        else if (j == count - 1)
        {
            column = j % 3 + 1;
        }
        digitKeys[j]->setBounds (blockX + keyPitch * column, keyPitch * (j / 3), width, keySize);
    }

    shiftButton.setBounds (0, bottomRowY, shiftWidth, keySize);
    spaceButton.setBounds (shiftButton.getRight() + 1, bottomRowY, spaceWidth, keySize);
    backButton.setBounds (spaceButton.getRight() + 1, bottomRowY, backWidth, keySize);
}

void VirtualKeyboard::setLetterCase (bool upper)
{
    for (auto* row : { &firstRowKeys, &secondRowKeys, &thirdRowKeys })
        for (auto* key : *row)
            key->setButtonText (upper ? key->getButtonText().toUpperCase() : key->getButtonText().toLowerCase());
}

bool VirtualKeyboard::isKey (juce::Button* button) const
{
    for (auto* row : { &firstRowKeys, &secondRowKeys, &thirdRowKeys, &digitKeys })
        for (auto* key : *row)
            if (key->getButtonText() == button->getButtonText())
                return true;
    return false;
}

void VirtualKeyboard::buttonClicked (juce::Button* button)
{
    if (button == &shiftButton)
    {
        setLetterCase (shiftButton.getToggleState());
    }
    else if (targetEditor != nullptr)
    {
        if (button == &spaceButton)
        {
            targetEditor->insertTextAtCaret (" ");
        }
        else if (button == &backButton)
        {
            const int caret = targetEditor->getCaretPosition();
            if (caret >= 1)
            {
                targetEditor->setHighlightedRegion ({ caret - 1, caret });
                targetEditor->insertTextAtCaret ({});
            }
        }
        else if (isKey (button))
        {
            targetEditor->insertTextAtCaret (button->getButtonText());
            shiftButton.setToggleState (false, juce::sendNotificationSync);
        }
    }

    if (targetEditor != nullptr)
        targetEditor->grabKeyboardFocus();
}

} // namespace brevalon
