#pragma once

#include "controls/BetterSlider.h"
#include "editor/PresetComboBox.h"
#include "lookandfeel/LookAndFeelContextMenu.h"
#include "lookandfeel/LookAndFeelToolbar.h"
#include "overlays/AbstractOverlay.h"
#include "processor/QuillfenAudioProcessor.h"

#include <juce_audio_processors/juce_audio_processors.h>
#include <memory>

namespace brevalon
{

class DynamicHelpOverlay;

// The framework's editor: the toolbar strip along the top (undo, redo, the preset box with
// previous/next, A/B, help, settings, info), at most one overlay over the whole window, the
// copy/paste keys and the background's state menu. A 50 ms timer keeps the toolbar in step with
// the state engine; it works only on flags that are set, so an idle editor repaints nothing.
// Product editors derive from it, add their controls and hand their sliders to managedSliders
// so they follow the user-wide slider settings. Message thread only.
class QuillfenEditor : public juce::AudioProcessorEditor,
                       public juce::Slider::Listener,
                       public juce::Button::Listener,
                       public juce::ComboBox::Listener,
                       public juce::ChangeListener,
                       public juce::KeyListener,
                       public juce::ActionListener,
                       public juce::Timer
{
public:
    static constexpr int toolbarHeight = 28;
    static constexpr int timerMilliseconds = 50;
    static constexpr int tooltipDelayMilliseconds = 700;

    explicit QuillfenEditor (QuillfenAudioProcessor& owner);
    ~QuillfenEditor() override;

    void mouseDown (const juce::MouseEvent&) override;
    void paint (juce::Graphics&) override;
    void resized() override;

    // Copies the current state to the clipboard as one line of state text.
    virtual void copyState();
    // Applies a state text from the clipboard as one undoable step; other text changes nothing.
    virtual void pasteState();
    // Runs at the end of every timer tick.
    virtual void editorTick() {}
    // Pushes the user-wide slider settings into every managed slider.
    virtual void applySliderSettings (int sliderMode, int mouseSensitivity);
    // Makes every managed slider's value box read-only.
    virtual void lockSliderTextBoxes();
    // Shows the window at 125 % (on) or at its base size (off).
    virtual void setZoomed (bool zoomed);
    // Adds the toolbar's help areas; product editors add their own after these.
    virtual void addHelpAreas (DynamicHelpOverlay& overlay);

    // Takes ownership of `overlay`, replacing any open one, and shows it over the whole window.
    void openOverlay (std::unique_ptr<AbstractOverlay> overlay);
    void closeOverlay();
    AbstractOverlay* getCurrentOverlay() const noexcept { return currentOverlay.get(); }

    // The right-click menus of the editor and of the preset box report here: 1 reset, 2 new user
    // preset, 3 overwrite/rename, 4 delete, 5 copy, 6 paste, 7 share; 0 (dismissed) and unknown
    // codes do nothing, nor does a target that is gone or no editor.
    static void contextMenuCallback (int result, juce::Component* target);
    // The background's state menu: copy, paste, share.
    static juce::PopupMenu createStateMenu();

    void changeListenerCallback (juce::ChangeBroadcaster* source) override;
    void actionListenerCallback (const juce::String& message) override;
    void buttonClicked (juce::Button* button) override;
    void comboBoxChanged (juce::ComboBox* box) override;
    bool keyPressed (const juce::KeyPress& key, juce::Component* originator) override;
    using juce::Component::keyPressed;
    void timerCallback() override;

    void sliderValueChanged (juce::Slider*) override {}
    void sliderDragStarted (juce::Slider*) override {}
    void sliderDragEnded (juce::Slider*) override {}

    QuillfenAudioProcessor& getQuillfenProcessor() noexcept { return processor; }
    int getBaseWidth() const noexcept { return baseWidth; }
    int getBaseHeight() const noexcept { return baseHeight; }

protected:
    void runContextMenuAction (int result);
    void updatePresetList();
    // When the editor flag of any parameter is set: hands the changed parameters to the processor
    // under the callback lock, so the filter follows the controls also while no audio runs.
    void applyPendingParameterChanges();

    QuillfenAudioProcessor& processor;
    int baseWidth = 400;
    int baseHeight = 300;
    juce::Array<BetterSlider*> managedSliders;

    LookAndFeelToolbar toolbarLookAndFeel;
    LookAndFeelContextMenu contextMenuLookAndFeel;
    juce::TooltipWindow tooltipWindow{ nullptr, tooltipDelayMilliseconds };

    juce::ImageButton undoButton, redoButton, copyAToBButton, copyBToAButton, infoButton, helpButton, settingsButton,
        stateAButton, stateBButton, previousButton, nextButton;
    PresetComboBox presetBox;
    int presetBoxWidth = -1;
    std::unique_ptr<AbstractOverlay> currentOverlay;
    StateEngine* stateEngine;

private:
    void setUpToolbarButton (juce::ImageButton& button, const char* imageStem);
    void tickToolbar();
    void fillPresetBox();
    bool isPresetSlotInUse (int program) const;
    int userSlotCount() const;
    void selectCurrentProgram();
    void programSelectedFromToolbar (bool changed);
    void openInfoOverlay();
    void openSettingsOverlay();
    // Opens the dialog that says the user-preset file cannot be read, when it cannot; true then.
    bool explainIfPresetsCannotBeSaved();
    void openSaveAsNewOverlay();
    void openOverwriteOverlay();
    void openDeleteOverlay();
    void openShareOverlay();
    void changeSetting (int setting, int value);

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (QuillfenEditor)
};

} // namespace brevalon
