#include "editor/QuillfenEditor.h"

#include "overlays/AddUserPresetOverlay.h"
#include "overlays/CannotCreatePresetOverlay.h"
#include "overlays/DeleteUserPresetOverlay.h"
#include "overlays/DynamicHelpOverlay.h"
#include "overlays/InfoOverlay.h"
#include "overlays/OverwriteUserPresetOverlay.h"
#include "overlays/SettingsOverlay.h"
#include "overlays/SharePresetOverlay.h"
#include "lookandfeel/Drawing.h"
#include "state/GlobalParamList.h"
#include "state/ParamManager.h"
#include "state/StateCode.h"
#include "state/UserPresetStore.h"

namespace brevalon
{

namespace
{
using lookandfeel::embeddedImage;
// Layout constants of the toolbar: every control sits at this height, and the groups are
// separated by gaps of this width.
constexpr int toolbarY = 3;
constexpr int groupGap = 14;
constexpr int automaticPresetBoxLimit = 214;
constexpr int presetBoxReserve = 165;
} // namespace

QuillfenEditor::QuillfenEditor (QuillfenAudioProcessor& owner)
    : juce::AudioProcessorEditor (owner),
      processor (owner),
      stateEngine (&owner.getStateEngine())
{
    setBufferedToImage (true);

    tooltipWindow.setLookAndFeel (&toolbarLookAndFeel);
    setLookAndFeel (&toolbarLookAndFeel);

    setUpToolbarButton (undoButton, "undo");
    setUpToolbarButton (redoButton, "redo");
    setUpToolbarButton (infoButton, "info");
    setUpToolbarButton (helpButton, "help");
    setUpToolbarButton (settingsButton, "settings");
    setUpToolbarButton (stateAButton, "ab");
    setUpToolbarButton (stateBButton, "ba");
    setUpToolbarButton (copyAToBButton, "acopyb");
    setUpToolbarButton (copyBToAButton, "bcopya");
    stateAButton.setTooltip ("State A");
    stateBButton.setTooltip ("State B");
    copyAToBButton.setTooltip ("Copy A to B");
    copyBToAButton.setTooltip ("Copy B to A");

    presetBox.setEditableText (false);
    presetBox.setJustificationType (juce::Justification::centredLeft);
    presetBox.setLookAndFeel (&toolbarLookAndFeel);
    fillPresetBox();
    presetBox.addListener (this);
    presetBox.setSelectedId (stateEngine->getCurrentProgram() + 1, juce::dontSendNotification);
    addAndMakeVisible (presetBox);
    setUpToolbarButton (previousButton, "prev");
    setUpToolbarButton (nextButton, "next");

    addKeyListener (this);

    // The first tick refreshes every control.
    auto& parameters = stateEngine->getModel();
    for (int i = 0; i < parameters.getCount(); ++i)
        parameters.getParameterAt (i)->markChanged();

    startTimer (timerMilliseconds);
}

QuillfenEditor::~QuillfenEditor()
{
    stopTimer();
    closeOverlay();
    removeKeyListener (this);
    for (auto* button : { &undoButton, &redoButton, &copyAToBButton, &copyBToAButton, &infoButton, &helpButton,
                          &settingsButton, &stateAButton, &stateBButton, &previousButton, &nextButton })
        button->setLookAndFeel (nullptr);
    presetBox.setLookAndFeel (nullptr);
    tooltipWindow.setLookAndFeel (nullptr);
    setLookAndFeel (nullptr);
}

void QuillfenEditor::setUpToolbarButton (juce::ImageButton& button, const char* imageStem)
{
    const juce::String stem (imageStem);
    button.setLookAndFeel (&toolbarLookAndFeel);
    button.setImages (true, false, true,
                      embeddedImage ((stem + "_png").toRawUTF8()), 1.0f, juce::Colours::transparentBlack,
                      embeddedImage ((stem + "_s2_png").toRawUTF8()), 1.0f, juce::Colours::transparentBlack,
                      embeddedImage ((stem + "_s3_png").toRawUTF8()), 1.0f, juce::Colours::transparentBlack);
    button.addListener (this);
    addAndMakeVisible (button);
}

//==============================================================================
void QuillfenEditor::paint (juce::Graphics& g)
{
    g.setColour (juce::Colour (0xff000000));
    g.fillRect (0, 0, getWidth(), toolbarHeight);
}

void QuillfenEditor::resized()
{
    const int width = baseWidth;
    infoButton.setBounds (width - 27, toolbarY, 24, 22);
    settingsButton.setBounds (infoButton.getX() - 25, toolbarY, 24, 22);
    helpButton.setBounds (settingsButton.getX() - 25, toolbarY, 24, 22);
    undoButton.setBounds (3, toolbarY, 24, 22);
    redoButton.setBounds (undoButton.getRight() + 1, toolbarY, 24, 22);

    const int available = helpButton.getRight() - redoButton.getRight() - presetBoxReserve;
    const int boxWidth = presetBoxWidth == -1 ? juce::jmin (available, automaticPresetBoxLimit) : juce::jmin (presetBoxWidth, available);
    presetBox.setBounds (redoButton.getRight() + groupGap, toolbarY, boxWidth, 22);
    previousButton.setBounds (presetBox.getRight() + 1, toolbarY, 24, 11);
    nextButton.setBounds (presetBox.getRight() + 1, previousButton.getBottom(), 24, 11);
    stateAButton.setBounds (previousButton.getRight() + groupGap, toolbarY, 36, 22);
    stateBButton.setBounds (stateAButton.getBounds());
    copyAToBButton.setBounds (stateAButton.getRight() + 1, toolbarY, 36, 22);
    copyBToAButton.setBounds (copyAToBButton.getBounds());

    if (currentOverlay != nullptr)
        currentOverlay->setBounds (0, 0, width, baseHeight);
}

//==============================================================================
void QuillfenEditor::openOverlay (std::unique_ptr<AbstractOverlay> overlay)
{
    closeOverlay();
    currentOverlay = std::move (overlay);
    currentOverlay->addChangeListener (this);
    currentOverlay->addActionListener (this);
    currentOverlay->setBounds (0, 0, baseWidth, baseHeight);
    addAndMakeVisible (*currentOverlay);
    currentOverlay->toFront (false);
}

void QuillfenEditor::closeOverlay()
{
    if (currentOverlay == nullptr)
        return;
    removeChildComponent (currentOverlay.get());
    currentOverlay.reset();
}

void QuillfenEditor::changeListenerCallback (juce::ChangeBroadcaster* source)
{
    if (currentOverlay != nullptr && source == static_cast<juce::ChangeBroadcaster*> (currentOverlay.get()))
        closeOverlay();
}

//==============================================================================
void QuillfenEditor::applyPendingParameterChanges()
{
    auto& parameters = stateEngine->getModel();
    bool pending = false;
    for (int i = 0; i < parameters.getCount() && ! pending; ++i)
        pending = parameters.getParameterAt (i)->hasChangeFlags (Parameter::editorFlag);
    if (pending)
    {
        const juce::ScopedLock callbackLock (processor.getCallbackLock());
        processor.applyPendingChanges();
    }
}

void QuillfenEditor::timerCallback()
{
    applyPendingParameterChanges();

    auto& settings = processor.getGlobalSettings();
    settings.poll();
    bool settingsChanged = settings.getParameterAt (GlobalParamList::sliderMode)->testAndClearChangeFlags (Parameter::editorFlag);
    if (! settingsChanged)
        settingsChanged = settings.getParameterAt (GlobalParamList::mouseSensitivity)->testAndClearChangeFlags (Parameter::editorFlag);
    if (settingsChanged)
        applySliderSettings (settings.getParameterAt (GlobalParamList::sliderMode)->getIntValue(),
                             settings.getParameterAt (GlobalParamList::mouseSensitivity)->getIntValue());

    tickToolbar();
    editorTick();
}

void QuillfenEditor::tickToolbar()
{
    undoButton.setEnabled (stateEngine->canUndo());
    redoButton.setEnabled (stateEngine->canRedo());

    const bool linked = stateEngine->isLinked();
    const bool isB = stateEngine->isBActive();
    const bool copyDisabled = stateEngine->isStatesEqual() && ! linked;
    stateAButton.setEnabled (! linked);
    stateBButton.setEnabled (! linked);
    copyAToBButton.setEnabled (! copyDisabled);
    copyBToAButton.setEnabled (! copyDisabled);
    stateAButton.setVisible (! isB);
    copyAToBButton.setVisible (! isB);
    stateBButton.setVisible (isB);
    copyBToAButton.setVisible (isB);

    const int current = stateEngine->getCurrentProgram();
    const bool userSlot = stateEngine->isUserSlot (current);
    presetBox.resetAllowed = stateEngine->isProgramModified();
    presetBox.overwriteAllowed = userSlot;
    presetBox.deleteAllowed = userSlot && stateEngine->isAvailable (current);
    presetBox.userSectionShown = userSlotCount() > 0;

    previousButton.setEnabled (stateEngine->previousAvailable() >= 0);
    nextButton.setEnabled (stateEngine->nextAvailable() >= 0);

    if (stateEngine->takeHistoryChanged())
    {
        undoButton.setTooltip (stateEngine->canUndo() ? stateEngine->getUndoDescription() : juce::String());
        redoButton.setTooltip (stateEngine->canRedo() ? stateEngine->getRedoDescription() : juce::String());
    }
    if (stateEngine->takePresetsChanged())
        updatePresetList();
    if (stateEngine->takeProgramChanged())
        selectCurrentProgram();
}

int QuillfenEditor::userSlotCount() const
{
    const juce::ScopedLock fileLock (UserPresetStore::getFileLock());
    return stateEngine->getModel().programs.getUserSlotCount();
}

void QuillfenEditor::fillPresetBox()
{
    const auto& programs = stateEngine->getModel().programs;
    const int factoryCount = programs.getFactoryProgramCount();
    for (int i = 0; i < factoryCount; ++i)
        presetBox.addItem (stateEngine->getProgramNameForDisplay (i), i + 1);
    if (userSlotCount() <= 0)
        return;
    presetBox.addSeparator();
    for (int i = factoryCount; i < programs.getCount(); ++i)
    {
        presetBox.addItem (stateEngine->getProgramNameForDisplay (i), i + 1);
        presetBox.setItemEnabled (i + 1, stateEngine->isAvailable (i));
    }
}

void QuillfenEditor::updatePresetList()
{
    const int count = stateEngine->getModel().programs.getCount();
    for (int i = 0; i < count; ++i)
    {
        presetBox.changeItemText (i + 1, stateEngine->getProgramNameForDisplay (i));
        presetBox.setItemEnabled (i + 1, stateEngine->isAvailable (i));
    }
    presetBox.setText (stateEngine->getProgramNameForDisplay (stateEngine->getCurrentProgram()), juce::dontSendNotification);
}

void QuillfenEditor::selectCurrentProgram()
{
    presetBox.setSelectedId (stateEngine->getCurrentProgram() + 1, juce::dontSendNotification);
}

//==============================================================================
void QuillfenEditor::buttonClicked (juce::Button* button)
{
    if (button == &undoButton)
        stateEngine->undo();
    else if (button == &redoButton)
        stateEngine->redo();
    else if (button == &previousButton)
        programSelectedFromToolbar (stateEngine->previousProgram());
    else if (button == &nextButton)
        programSelectedFromToolbar (stateEngine->nextProgram());
    else if (button == &stateAButton)
        stateEngine->selectB();
    else if (button == &stateBButton)
        stateEngine->selectA();
    else if (button == &copyAToBButton)
        stateEngine->copyAToB();
    else if (button == &copyBToAButton)
        stateEngine->copyBToA();
    else if (button == &helpButton)
    {
        auto overlay = std::make_unique<DynamicHelpOverlay>();
        addHelpAreas (*overlay);
        overlay->setHelpButtonArea (helpButton.getBounds());
        openOverlay (std::move (overlay));
    }
    else if (button == &infoButton)
        openInfoOverlay();
    else if (button == &settingsButton)
        openSettingsOverlay();
}

void QuillfenEditor::programSelectedFromToolbar (bool changed)
{
    if (changed)
        processor.updateHostDisplay();
}

void QuillfenEditor::comboBoxChanged (juce::ComboBox* box)
{
    if (box != &presetBox || presetBox.getSelectedId() == 0)
        return;
    stateEngine->selectProgram (presetBox.getSelectedId() - 1);
    processor.updateHostDisplay();
}

bool QuillfenEditor::keyPressed (const juce::KeyPress& key, juce::Component*)
{
    if (! key.getModifiers().isCtrlDown())
        return false;
    if (key.getKeyCode() == 'C' || key.getKeyCode() == 'c')
    {
        copyState();
        return true;
    }
    if (key.getKeyCode() == 'V' || key.getKeyCode() == 'v')
    {
        pasteState();
        return true;
    }
    return false;
}

juce::PopupMenu QuillfenEditor::createStateMenu()
{
    juce::PopupMenu menu;
    menu.addItem (PresetComboBox::copyCode, "Copy State (Ctrl+C)");
    menu.addItem (PresetComboBox::pasteCode, "Paste State (Ctrl+V)");
    menu.addItem (PresetComboBox::shareCode, "Share State...");
    return menu;
}

void QuillfenEditor::mouseDown (const juce::MouseEvent& event)
{
    auto* parent = getParentComponent();
    if (! isEnabled() || (parent != nullptr && ! parent->isEnabled()) || ! event.mods.isPopupMenu())
        return;
    auto menu = createStateMenu();
    menu.setLookAndFeel (&contextMenuLookAndFeel);
    juce::Component::SafePointer<juce::Component> target (this);
    menu.showMenuAsync (juce::PopupMenu::Options().withTargetScreenArea ({ event.getScreenX(), event.getScreenY(), 1, 1 }),
                        [target] (int result) { contextMenuCallback (result, target.getComponent()); });
}

//==============================================================================
void QuillfenEditor::copyState()
{
    StateCode::copy (*stateEngine, processor.getClipboard());
}

void QuillfenEditor::pasteState()
{
    StateCode::paste (*stateEngine, processor.getClipboard());
}

void QuillfenEditor::applySliderSettings (int sliderMode, int mouseSensitivity)
{
    for (auto* slider : managedSliders)
        slider->applySliderSettings (sliderMode, mouseSensitivity);
}

void QuillfenEditor::lockSliderTextBoxes()
{
    for (auto* slider : managedSliders)
    {
        if (slider->isTextBoxEditable())
        {
            slider->setTextBoxIsEditable (false);
            slider->repaint();
            slider->lookAndFeelChanged();
        }
    }
}

void QuillfenEditor::setZoomed (bool zoomed)
{
    constexpr float zoom = 1.25f;
    if (zoomed)
    {
        setBounds (getX(), getY(), juce::roundToInt ((float)baseWidth * zoom), juce::roundToInt ((float)baseHeight * zoom));
        setTransform (juce::AffineTransform::scale (zoom));
    }
    else
    {
        setBounds (getX(), getY(), baseWidth, baseHeight);
        setTransform ({});
    }
}

void QuillfenEditor::addHelpAreas (DynamicHelpOverlay& overlay)
{
    overlay.addArea (undoButton.getBounds().getUnion (redoButton.getBounds()), "undoRedo");
    overlay.addArea (presetBox.getBounds().getUnion (nextButton.getBounds()).getUnion (previousButton.getBounds()), "presetManagement");
    overlay.addArea (copyAToBButton.getBounds().getUnion (stateAButton.getBounds()), "abStates");
    overlay.addArea (settingsButton.getBounds(), "settings");
    overlay.addArea (infoButton.getBounds(), "about");
    overlay.addArea (helpButton.getBounds(), "help");
}

//==============================================================================
void QuillfenEditor::contextMenuCallback (int result, juce::Component* target)
{
    if (auto* editor = dynamic_cast<QuillfenEditor*> (target))
        editor->runContextMenuAction (result);
}

void QuillfenEditor::runContextMenuAction (int result)
{
    switch (result)
    {
        case PresetComboBox::resetCode:
            stateEngine->resetCurrentProgram();
            processor.updateHostDisplay();
            break;
        case PresetComboBox::saveAsNewCode:
            openSaveAsNewOverlay();
            break;
        case PresetComboBox::overwriteCode:
            openOverwriteOverlay();
            break;
        case PresetComboBox::deleteCode:
            openDeleteOverlay();
            break;
        case PresetComboBox::copyCode:
            copyState();
            break;
        case PresetComboBox::pasteCode:
            pasteState();
            break;
        case PresetComboBox::shareCode:
            openShareOverlay();
            break;
        default:
            break;
    }
}

//==============================================================================
void QuillfenEditor::openInfoOverlay()
{
    openOverlay (std::make_unique<InfoOverlay> ("ABOUT", processor.wrapperType, processor.getLauncher()));
}

void QuillfenEditor::openSettingsOverlay()
{
    auto overlay = std::make_unique<SettingsOverlay> ("SETTINGS");
    auto& settings = processor.getGlobalSettings();
    overlay->setValues (settings.getParameterAt (GlobalParamList::sliderMode)->getIntValue(),
                        settings.getParameterAt (GlobalParamList::mouseSensitivity)->getIntValue(), processor.getLatencySamples(),
                        processor.getCurrentSampleRate());
    openOverlay (std::move (overlay));
}

bool QuillfenEditor::explainIfPresetsCannotBeSaved()
{
    if (stateEngine->canSaveUserPresets())
        return false;
    openOverlay (std::make_unique<CannotCreatePresetOverlay> ("USER-PRESET FILE UNREADABLE", CannotCreatePresetOverlay::unreadableFileParagraph));
    return true;
}

void QuillfenEditor::openSaveAsNewOverlay()
{
    if (explainIfPresetsCannotBeSaved())
        return;
    if (stateEngine->firstFreeSlot() < 0)
        openOverlay (std::make_unique<CannotCreatePresetOverlay> ("ALL USER-PRESET-SLOTS IN USE"));
    else
        openOverlay (std::make_unique<AddUserPresetOverlay> ("CREATE USER-PRESET", stateEngine));
}

void QuillfenEditor::openOverwriteOverlay()
{
    if (explainIfPresetsCannotBeSaved())
        return;
    auto overlay = std::make_unique<OverwriteUserPresetOverlay> ("OVERWRITE USER-PRESET", stateEngine);
    overlay->setName (stateEngine->getCurrentProgramName());
    openOverlay (std::move (overlay));
}

void QuillfenEditor::openDeleteOverlay()
{
    auto overlay = std::make_unique<DeleteUserPresetOverlay> ("DELETE USER-PRESET");
    overlay->setPresetName (stateEngine->getCurrentProgramName());
    openOverlay (std::move (overlay));
}

void QuillfenEditor::openShareOverlay()
{
    auto overlay = std::make_unique<SharePresetOverlay> ("SHARE PRESET", processor.getClipboard(), processor.getLauncher());
    overlay->setCode (StateCode::make (*stateEngine));
    openOverlay (std::move (overlay));
}

void QuillfenEditor::changeSetting (int setting, int value)
{
    auto& settings = processor.getGlobalSettings();
    auto* parameter = settings.getParameterAt (setting);
    parameter->setNormalised (parameter->plainToNormalised (value));
    settings.save();
}

void QuillfenEditor::actionListenerCallback (const juce::String& message)
{
    auto* overlay = currentOverlay.get();
    if (message == "changeSettings_sliderMode")
    {
        if (auto* settings = dynamic_cast<SettingsOverlay*> (overlay))
            changeSetting (GlobalParamList::sliderMode, settings->isLinearModeOn() ? 1 : 0);
    }
    else if (message == "changeSettings_mouseSensitivity")
    {
        if (auto* settings = dynamic_cast<SettingsOverlay*> (overlay))
            changeSetting (GlobalParamList::mouseSensitivity, settings->getSensitivity());
    }
    else if (message == "addUserPresetOverlay_add")
    {
        // The overwrite dialog derives from the add dialog; it is not one here.
        auto* add = dynamic_cast<AddUserPresetOverlay*> (overlay);
        if (add == nullptr || dynamic_cast<OverwriteUserPresetOverlay*> (overlay) != nullptr)
            return;
        const int slot = stateEngine->firstFreeSlot();
        if (slot < 0)
            return;
        stateEngine->saveAsNewUserPreset (slot, add->getPresetName());
        processor.updateHostDisplay();
    }
    else if (message == "overwriteUserPresetOverlay_add")
    {
        // The file may have become unreadable since the dialog opened: then nothing changes.
        auto* overwrite = dynamic_cast<OverwriteUserPresetOverlay*> (overlay);
        if (overwrite != nullptr && stateEngine->canSaveUserPresets())
        {
            const bool renamed = overwrite->getPresetName() != stateEngine->getCurrentProgramName();
            if (renamed)
                stateEngine->renameProgram (stateEngine->getCurrentProgram(), overwrite->getPresetName());
            stateEngine->overwriteCurrentUserPreset();
            if (renamed)
                processor.updateHostDisplay();
        }
    }
    else if (message == "deleteUserPresetOverlay_delete")
    {
        if (dynamic_cast<DeleteUserPresetOverlay*> (overlay) != nullptr)
        {
            stateEngine->deleteCurrentUserPreset();
            processor.updateHostDisplay();
        }
    }
}

} // namespace brevalon
