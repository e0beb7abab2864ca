#include "EditorBench.h"
#include "OverlayTestBench.h"
#include "Screenshot.h"

#include "overlays/DynamicHelpOverlay.h"
#include "state/ParamManager.h"
#include "state/StateCode.h"

#include <gtest/gtest.h>

namespace brevalon
{
namespace
{
using test::ComponentDriver;
using test::EditorBench;
using test::HostEventRecorder;
using Product = QuillfenTemplateAudioProcessor;

juce::Component* findChild (juce::Component& parent, const std::function<bool (juce::Component&)>& matches)
{
    for (auto* child : parent.getChildren())
        if (matches (*child))
            return child;
    return nullptr;
}

// The toolbar buttons by their tooltip or their place: the editor keeps them private, a user
// finds them by looking.
juce::Button* buttonAt (juce::Component& editor, juce::Point<int> position)
{
    for (auto* child : editor.getChildren())
        if (auto* button = dynamic_cast<juce::Button*> (child); button != nullptr && button->isVisible() && button->getBounds().contains (position))
            return button;
    return nullptr;
}

Parameter& parameter (EditorBench& bench, int index)
{
    return *bench.processor->getParamManager().getParameterAt (index);
}

const juce::Point<int> undoPosition (10, 10), redoPosition (35, 10), previousPosition (210, 6), nextPosition (210, 20),
    abPosition (250, 10), copyPosition (290, 10), helpPosition (335, 10), settingsPosition (360, 10), infoPosition (385, 10);

//==============================================================================
TEST (Editor, ControlsSitWhereTheLayoutPutsThem)
{
    EditorBench bench;
    auto& editor = *bench.editor;
    EXPECT_EQ (editor.getBounds().withZeroOrigin(), juce::Rectangle<int> (0, 0, 406, 242));

    struct Expected
    {
        juce::Point<int> probe;
        juce::Rectangle<int> bounds;
    };
    const Expected toolbar[] = {
        { undoPosition, { 3, 3, 24, 22 } },      { redoPosition, { 28, 3, 24, 22 } },     { previousPosition, { 203, 3, 24, 11 } },
        { nextPosition, { 203, 14, 24, 11 } },   { abPosition, { 241, 3, 36, 22 } },     { copyPosition, { 278, 3, 36, 22 } },
        { helpPosition, { 329, 3, 24, 22 } },    { settingsPosition, { 354, 3, 24, 22 } }, { infoPosition, { 379, 3, 24, 22 } },
        { { 360, 200 }, { 341, 190, 88, 35 } },
    };
    for (const auto& control : toolbar)
    {
        auto* button = buttonAt (editor, control.probe);
        ASSERT_NE (button, nullptr) << control.probe.toString();
        EXPECT_EQ (button->getBounds(), control.bounds) << control.probe.toString();
    }

    auto* presetBox = findChild (editor, [] (juce::Component& c) { return dynamic_cast<PresetComboBox*> (&c) != nullptr; });
    ASSERT_NE (presetBox, nullptr);
    EXPECT_EQ (presetBox->getBounds(), juce::Rectangle<int> (66, 3, 136, 22));
    EXPECT_EQ (editor.getFrequencySlider().getBounds(), juce::Rectangle<int> (125, 207, 62, 24));
    EXPECT_EQ (editor.getSlopeSlider().getBounds(), juce::Rectangle<int> (190, 207, 62, 24));
    EXPECT_EQ (editor.getAmountSlider().getBounds(), juce::Rectangle<int> (255, 207, 62, 24));
    EXPECT_EQ (editor.getDisplay().getBounds(), juce::Rectangle<int> (16, 38, 366, 142));

    // Every control lies inside the window, except the bypass button's transparent margin.
    for (auto* child : editor.getChildren())
    {
        if (child != &editor.getBypassButton())
        {
            EXPECT_TRUE (editor.getLocalBounds().contains (child->getBounds())) << child->getBounds().toString();
        }
    }
}

TEST (Editor, AbSwitchAndCopyFollowTheStates)
{
    EditorBench bench;
    auto& editor = *bench.editor;
    bench.tick();
    auto* abSwitch = buttonAt (editor, abPosition);
    auto* copy = buttonAt (editor, copyPosition);
    ASSERT_NE (abSwitch, nullptr);
    ASSERT_NE (copy, nullptr);
    EXPECT_EQ (abSwitch->getTooltip(), "State A");
    EXPECT_EQ (copy->getTooltip(), "Copy A to B");
    EXPECT_FALSE (abSwitch->isEnabled()) << "A and B are linked in a fresh instance";
    EXPECT_TRUE (copy->isEnabled());

    bench.driver->click (copyPosition);
    bench.tick();
    EXPECT_TRUE (abSwitch->isEnabled());
    EXPECT_FALSE (copy->isEnabled()) << "B equals A right after the copy";

    bench.driver->click (abPosition);
    bench.tick();
    EXPECT_TRUE (bench.processor->getStateEngine().isBActive());
    EXPECT_FALSE (abSwitch->isVisible());
    auto* bSwitch = buttonAt (editor, abPosition);
    ASSERT_NE (bSwitch, nullptr);
    EXPECT_EQ (bSwitch->getTooltip(), "State B");
    EXPECT_EQ (buttonAt (editor, copyPosition)->getTooltip(), "Copy B to A");

    bench.processor->setParameterFromEditor (Product::slopeParam, 0.25f);
    bench.tick();
    EXPECT_TRUE (buttonAt (editor, copyPosition)->isEnabled()) << "a changed value makes the states differ";
}

TEST (Editor, UndoAndRedoShowWhatTheyWouldDo)
{
    EditorBench bench;
    auto& editor = *bench.editor;
    bench.tick();
    auto* undo = buttonAt (editor, undoPosition);
    auto* redo = buttonAt (editor, redoPosition);
    EXPECT_FALSE (undo->isEnabled());
    EXPECT_FALSE (redo->isEnabled());
    EXPECT_EQ (undo->getTooltip(), "");

    // The default program's slope is 75 %.
    const float before = parameter (bench, Product::slopeParam).getNormalised();
    bench.processor->setParameterFromEditor (Product::slopeParam, 0.25f);
    bench.tick();
    EXPECT_TRUE (undo->isEnabled());
    EXPECT_EQ (undo->getTooltip(), "Change \"Slope\" parameter value back to 75.0 %");
    EXPECT_EQ (redo->getTooltip(), "");

    bench.driver->click (undoPosition);
    bench.tick();
    EXPECT_FLOAT_EQ (parameter (bench, Product::slopeParam).getNormalised(), before);
    EXPECT_FALSE (undo->isEnabled());
    EXPECT_TRUE (redo->isEnabled());
    EXPECT_EQ (undo->getTooltip(), "");
    EXPECT_EQ (redo->getTooltip(), "Change \"Slope\" parameter value back to 25.0 %");
}

TEST (Editor, PreviousAndNextStopAtTheEndsOfTheProgramList)
{
    EditorBench bench;
    auto& editor = *bench.editor;
    auto& engine = bench.processor->getStateEngine();
    bench.tick();
    auto* previous = buttonAt (editor, previousPosition);
    auto* next = buttonAt (editor, nextPosition);
    EXPECT_FALSE (previous->isEnabled()) << "the first factory program";
    EXPECT_TRUE (next->isEnabled());

    for (int i = 0; i < 4; ++i)
        bench.driver->click (nextPosition);
    bench.tick();
    EXPECT_EQ (engine.getCurrentProgram(), 4);
    EXPECT_TRUE (previous->isEnabled());
    EXPECT_FALSE (next->isEnabled()) << "no user preset follows the last factory program";

    auto* presetBox = dynamic_cast<juce::ComboBox*> (findChild (editor, [] (juce::Component& c) { return dynamic_cast<PresetComboBox*> (&c) != nullptr; }));
    EXPECT_EQ (presetBox->getSelectedId(), 5);
    EXPECT_EQ (presetBox->getText(), "Hard");
}

TEST (Editor, PresetListShowsFactoryProgramsThenGreyedEmptyUserSlots)
{
    EditorBench bench;
    auto* presetBox = dynamic_cast<juce::ComboBox*> (findChild (*bench.editor, [] (juce::Component& c) { return dynamic_cast<PresetComboBox*> (&c) != nullptr; }));
    ASSERT_NE (presetBox, nullptr);

    juce::StringArray items;
    juce::PopupMenu::MenuItemIterator iterator (*presetBox->getRootMenu());
    while (iterator.next())
    {
        const auto& item = iterator.getItem();
        items.add (item.isSeparator ? juce::String ("---") : item.text + (item.isEnabled ? "" : " (greyed)"));
    }
    EXPECT_EQ (items.joinIntoString ("|"), "Default|Light|Intermediate|Steep and reduced|Hard|---|USER001 (greyed)|USER002 (greyed)|"
                                           "USER003 (greyed)|USER004 (greyed)|USER005 (greyed)");
    EXPECT_EQ (presetBox->getText(), "Default");
}

TEST (Editor, PresetMenuItemsFollowTheSelectedProgram)
{
    EditorBench bench;
    auto& engine = bench.processor->getStateEngine();
    auto* presetBox = dynamic_cast<PresetComboBox*> (findChild (*bench.editor, [] (juce::Component& c) { return dynamic_cast<PresetComboBox*> (&c) != nullptr; }));
    ASSERT_NE (presetBox, nullptr);

    auto describe = [&] {
        bench.tick();
        juce::StringArray items;
        const auto menu = presetBox->createContextMenu();
        juce::PopupMenu::MenuItemIterator iterator (menu);
        while (iterator.next())
        {
            const auto& item = iterator.getItem();
            EXPECT_FALSE (item.isTicked);
            items.add (item.isSeparator ? juce::String ("---") : juce::String (item.itemID) + (item.isEnabled ? "" : "-"));
        }
        return items.joinIntoString (" ");
    };

    EXPECT_EQ (describe(), "1- --- 2 3- 4- --- 5 6 7") << "a factory program, unchanged";
    bench.processor->setParameterFromEditor (Product::slopeParam, 0.25f);
    EXPECT_EQ (describe(), "1 --- 2 3- 4- --- 5 6 7") << "a changed factory program can be reset";

    engine.selectProgram (5);
    EXPECT_EQ (describe(), "1- --- 2 3 4- --- 5 6 7") << "an empty user slot";
    ASSERT_EQ (engine.saveAsNewUserPreset (engine.firstFreeSlot(), "Mine"), 5);
    EXPECT_TRUE (describe().endsWith ("--- 2 3 4 --- 5 6 7")) << "a user preset in use";
}

TEST (Editor, RightClicksOpenMenusNeverTheList)
{
    EditorBench bench;
    auto* presetBox = dynamic_cast<juce::ComboBox*> (findChild (*bench.editor, [] (juce::Component& c) { return dynamic_cast<PresetComboBox*> (&c) != nullptr; }));
    const juce::ModifierKeys right (juce::ModifierKeys::rightButtonModifier);

    bench.driver->click ({ 100, 12 }, right);
    ComponentDriver::deliverPendingMessages();
    EXPECT_FALSE (presetBox->isPopupActive());
    EXPECT_TRUE (juce::PopupMenu::dismissAllActiveMenus()) << "the preset context menu is open";
    ComponentDriver::deliverPendingMessages();

    // The background (outside every control): the state menu on a right click, nothing on a left one.
    bench.driver->click ({ 60, 120 + 100 }, {});
    ComponentDriver::deliverPendingMessages();
    EXPECT_FALSE (juce::PopupMenu::dismissAllActiveMenus());
    bench.driver->click ({ 5, 235 }, right);
    ComponentDriver::deliverPendingMessages();
    EXPECT_TRUE (juce::PopupMenu::dismissAllActiveMenus());
    ComponentDriver::deliverPendingMessages();

    juce::StringArray items;
    const auto menu = QuillfenEditor::createStateMenu();
    juce::PopupMenu::MenuItemIterator iterator (menu);
    while (iterator.next())
        items.add (juce::String (iterator.getItem().itemID) + " " + iterator.getItem().text);
    EXPECT_EQ (items.joinIntoString ("|"), "5 Copy State (Ctrl+C)|6 Paste State (Ctrl+V)|7 Share State...");
}

TEST (Editor, CopyAndPasteKeysUseTheClipboard)
{
    EditorBench bench;
    auto& engine = bench.processor->getStateEngine();
    // In a host the editor is the window's top component and receives the keys nobody else takes.
    bench.editor->setWantsKeyboardFocus (true);
    bench.editor->grabKeyboardFocus();
    bench.processor->setParameterFromEditor (Product::slopeParam, 0.25f);
    bench.driver->pressKey (juce::KeyPress ('c', juce::ModifierKeys::ctrlModifier, 0));
    const auto code = bench.clipboard->getText();
    EXPECT_EQ (code, StateCode::make (engine));
    EXPECT_TRUE (code.contains ("Brevalon"));

    // Plain text changes nothing: no value, no undo step.
    bench.processor->setParameterFromEditor (Product::slopeParam, 0.5f);
    const auto undoBefore = engine.getUndoDescription();
    bench.clipboard->copyText ("slope 25 %");
    bench.driver->pressKey (juce::KeyPress ('v', juce::ModifierKeys::ctrlModifier, 0));
    EXPECT_FLOAT_EQ (parameter (bench, Product::slopeParam).getNormalised(), 0.5f);
    EXPECT_EQ (engine.getUndoDescription(), undoBefore);

    // The copied state comes back as one undoable step.
    bench.clipboard->copyText (code);
    bench.driver->pressKey (juce::KeyPress ('v', juce::ModifierKeys::ctrlModifier, 0));
    EXPECT_FLOAT_EQ (parameter (bench, Product::slopeParam).getNormalised(), 0.25f);
    engine.undo();
    EXPECT_FLOAT_EQ (parameter (bench, Product::slopeParam).getNormalised(), 0.5f);
}

TEST (Editor, HostAutomationMovesSliderAndDisplayWithinOneTickWithoutWritingBack)
{
    EditorBench bench;
    auto& editor = *bench.editor;
    auto& engine = bench.processor->getStateEngine();
    bench.tick();
    HostEventRecorder host;
    bench.processor->addListener (&host);

    bench.processor->getParameters()[Product::freqParam]->setValueNotifyingHost (0.8f);
    host.events.clear();
    bench.tick();
    EXPECT_FLOAT_EQ ((float)editor.getFrequencySlider().getValue(), parameter (bench, Product::freqParam).getNormalised());
    EXPECT_NEAR (editor.getFrequencySlider().getValue(), 0.8, 0.001);
    EXPECT_FLOAT_EQ (editor.getDisplay().getXValue(), parameter (bench, Product::freqParam).getNormalised());
    EXPECT_TRUE (host.events.isEmpty()) << host.events.joinIntoString (", ");
    EXPECT_FALSE (engine.canUndo()) << "the editor did not write the value back";
    bench.processor->removeListener (&host);
}

TEST (Editor, DraggingTheDisplayWritesFrequencyAndSlopeInsideGestures)
{
    EditorBench bench;
    bench.tick();
    HostEventRecorder host;
    bench.processor->addListener (&host);
    const auto frequencyBefore = parameter (bench, Product::freqParam).getNormalised();
    const auto slopeBefore = parameter (bench, Product::slopeParam).getNormalised();

    bench.driver->drag ({ 150, 100 }, { { 20, 0 }, { 40, 20 } });
    EXPECT_GT (parameter (bench, Product::freqParam).getNormalised(), frequencyBefore);
    EXPECT_LT (parameter (bench, Product::slopeParam).getNormalised(), slopeBefore);

    ASSERT_GE (host.events.size(), 8);
    EXPECT_EQ (host.events[0], "begin 0");
    EXPECT_EQ (host.events[1], "begin 1");
    EXPECT_EQ (host.events[host.events.size() - 2], "end 0");
    EXPECT_EQ (host.events[host.events.size() - 1], "end 1");
    for (int i = 2; i < host.events.size() - 2; ++i)
        EXPECT_TRUE (host.events[i] == "value 0" || host.events[i] == "value 1") << host.events[i];
    EXPECT_TRUE (host.events.contains ("value 0"));
    EXPECT_TRUE (host.events.contains ("value 1"));
    bench.processor->removeListener (&host);
}

TEST (Editor, ResponseCurveAt96kHz)
{
    EditorBench bench (96000.0);
    bench.processBlock();
    bench.tick();
    const auto& curve = bench.editor->getResponseCurve();
    ASSERT_EQ (curve.getCount(), ResponseCurve::maxPoints);
    EXPECT_DOUBLE_EQ (curve.getFrequencies()[0], 10000.0);
    EXPECT_LT (curve.getFrequencies()[curve.getCount() - 1], 48000.0);
    EXPECT_NEAR (curve.getLevels()[0], 0.0, 0.1) << "the pass band";
    EXPECT_LT (curve.getLevels()[curve.getCount() - 1], -60.0) << "the stop band";
    EXPECT_EQ (bench.editor->getDisplay().getSampleRate(), 96000.0);
}

TEST (Editor, ControlsDimWhenBypassedOrOutsideTheSupportedRates)
{
    {
        EditorBench bench (96000.0);
        auto& editor = *bench.editor;
        bench.processBlock();
        bench.tick();
        test::renderComponent (editor); // the bypass button finds its opaque pixels once drawn
        EXPECT_FLOAT_EQ (editor.getFrequencySlider().getAlpha(), 1.0f);
        EXPECT_FLOAT_EQ (editor.getDisplay().getAlpha(), 1.0f);

        bench.driver->click ({ 375, 207 });
        EXPECT_TRUE (parameter (bench, Product::bypassParam).getBoolValue());
        bench.tick();
        for (auto* slider : { &editor.getFrequencySlider(), &editor.getSlopeSlider(), &editor.getAmountSlider() })
            EXPECT_NEAR (slider->getAlpha(), QuillfenTemplateAudioProcessorEditor::dimmedAlpha, 0.01f);
        EXPECT_NEAR (editor.getDisplay().getAlpha(), QuillfenTemplateAudioProcessorEditor::dimmedAlpha, 0.01f);
        EXPECT_FLOAT_EQ (editor.getBypassButton().getAlpha(), 1.0f);
        test::saveScreenshot (editor, "editor-bypassed");

        bench.driver->click ({ 375, 207 });
        bench.tick();
        EXPECT_FALSE (parameter (bench, Product::bypassParam).getBoolValue());
        EXPECT_FLOAT_EQ (editor.getFrequencySlider().getAlpha(), 1.0f);
        EXPECT_FLOAT_EQ (editor.getDisplay().getAlpha(), 1.0f);
    }
    {
        EditorBench bench (44100.0);
        auto& editor = *bench.editor;
        bench.processBlock();
        bench.tick();
        for (auto* component : std::initializer_list<juce::Component*>{ &editor.getFrequencySlider(), &editor.getSlopeSlider(),
                                                                        &editor.getAmountSlider(), &editor.getBypassButton() })
            EXPECT_NEAR (component->getAlpha(), QuillfenTemplateAudioProcessorEditor::dimmedAlpha, 0.01f);
        EXPECT_FLOAT_EQ (editor.getDisplay().getAlpha(), 1.0f);
        EXPECT_EQ (editor.getResponseCurve().getCount(), 0) << "no filter design at 44.1 kHz";
        test::saveScreenshot (editor, "editor-44k");
    }
}

TEST (Editor, HelpModeShowsItsBubbleBelowTheHelpButtonAndClosesOnRelease)
{
    EditorBench bench;
    auto& editor = *bench.editor;
    bench.driver->click (helpPosition);
    auto* help = dynamic_cast<DynamicHelpOverlay*> (editor.getCurrentOverlay());
    ASSERT_NE (help, nullptr);
    EXPECT_EQ (help->getBounds(), editor.getLocalBounds());
    EXPECT_TRUE (help->getHelpButtonArea().contains (helpPosition));
    EXPECT_EQ (help->getAreas().size(), 11u);

    bench.driver->moveTo (helpPosition);
    for (int i = 0; i <= DynamicHelpOverlay::ticksBeforeBubble; ++i)
        help->timerCallback();
    ASSERT_TRUE (help->isShowingBubble());
    EXPECT_EQ (help->getHeadline(), "Dynamic help mode");
    EXPECT_GE (help->getBubble().bounds.getY(), 25) << "below the help button";
    test::saveAtBothScales (editor, "editor-help-bubble");

    bench.driver->click ({ 200, 120 });
    ComponentDriver::deliverPendingMessages();
    EXPECT_EQ (editor.getCurrentOverlay(), nullptr);
}

TEST (Editor, OverlaysReplaceEachOther)
{
    EditorBench bench;
    auto& editor = *bench.editor;
    bench.driver->click (helpPosition);
    juce::Component::SafePointer<juce::Component> first (editor.getCurrentOverlay());
    ASSERT_NE (first, nullptr);

    editor.openOverlay (std::make_unique<DynamicHelpOverlay>());
    EXPECT_EQ (first, nullptr) << "the first overlay was deleted";
    ASSERT_NE (editor.getCurrentOverlay(), nullptr);
    EXPECT_EQ (editor.getChildren().getLast(), editor.getCurrentOverlay()) << "the overlay is the topmost child";
    int overlays = 0;
    for (auto* child : editor.getChildren())
        overlays += dynamic_cast<AbstractOverlay*> (child) != nullptr ? 1 : 0;
    EXPECT_EQ (overlays, 1);

    // A change message from anything but the open overlay is ignored.
    juce::ChangeBroadcaster stranger;
    editor.changeListenerCallback (&stranger);
    EXPECT_NE (editor.getCurrentOverlay(), nullptr);
    editor.closeOverlay();
    EXPECT_EQ (editor.getCurrentOverlay(), nullptr);
}

TEST (Editor, SliderSettingsReachEveryManagedSlider)
{
    EditorBench bench;
    auto& editor = *bench.editor;
    auto& settings = bench.processor->getGlobalSettings();
    auto* mode = settings.getParameterAt (GlobalParamList::sliderMode);
    auto* sensitivity = settings.getParameterAt (GlobalParamList::mouseSensitivity);
    bench.tick();
    EXPECT_TRUE (editor.getFrequencySlider().getVelocityBasedMode());

    mode->setNormalised (mode->plainToNormalised (1));
    sensitivity->setNormalised (sensitivity->plainToNormalised (1));
    bench.tick();
    for (auto* slider : { &editor.getFrequencySlider(), &editor.getSlopeSlider(), &editor.getAmountSlider() })
    {
        EXPECT_FALSE (slider->getVelocityBasedMode());
        EXPECT_EQ (slider->getMouseDragSensitivity(), 946);
    }

    editor.lockSliderTextBoxes();
    EXPECT_FALSE (editor.getAmountSlider().isTextBoxEditable());
    editor.setZoomed (true);
    EXPECT_EQ (editor.getWidth(), 508);
    EXPECT_TRUE (editor.isTransformed());
    editor.setZoomed (false);
    EXPECT_EQ (editor.getWidth(), 406);
    EXPECT_FALSE (editor.isTransformed());
}

// Idle at a supported rate, at a rate where the filter is inactive (dimmed controls), and
// bypassed there too: the window is not repainted while the editor's own timer runs.
class IdleEditor : public testing::TestWithParam<std::pair<double, bool>>
{
};

TEST_P (IdleEditor, RepaintsNothing)
{
    const auto [sampleRate, bypassed] = GetParam();
    EditorBench bench (sampleRate);
    if (bypassed)
        bench.processor->setBypass (true);
    bench.processBlock();

    // A see-through component over the whole window is painted whenever any part of it is.
    struct PaintProbe : juce::Component
    {
        void paint (juce::Graphics&) override { ++paints; }
        int paints = 0;
    } probe;
    auto& window = bench.driver->getWindow();
    probe.setInterceptsMouseClicks (false, false);
    probe.setBounds (window.getLocalBounds());
    window.addAndMakeVisible (probe);

    // The first ticks draw everything.
    ComponentDriver::runMessageLoopFor (500);
    probe.paints = 0;
    ComponentDriver::runMessageLoopFor (1000);
    EXPECT_EQ (probe.paints, 0);

    // The probe does see a change.
    bench.processor->setParameterFromEditor (Product::slopeParam, 0.25f);
    ComponentDriver::runMessageLoopFor (500);
    EXPECT_GT (probe.paints, 0);
    window.removeChildComponent (&probe);
}

INSTANTIATE_TEST_SUITE_P (Editor, IdleEditor,
                          testing::Values (std::pair{ 96000.0, false }, std::pair{ 44100.0, false }, std::pair{ 44100.0, true }));

TEST (Editor, Screenshot)
{
    EditorBench bench (96000.0);
    bench.processBlock();
    bench.tick();
    const auto file = test::saveScreenshot (*bench.editor, "editor-96k");
    EXPECT_TRUE (file.existsAsFile());
    const auto image = test::renderComponent (*bench.editor);
    EXPECT_EQ (image.getWidth(), 406);
    EXPECT_EQ (image.getHeight(), 242);
    // The last row is painted too: the window has no transparent edge.
    for (int x = 0; x < image.getWidth(); x += 50)
        EXPECT_EQ (image.getPixelAt (x, 241).getAlpha(), 255) << x;
}

} // namespace
} // namespace brevalon

namespace brevalon
{
namespace
{
// The scale a host or the system gives the editor (the VST3 content scale factor, an LV2 host's
// scale option, the desktop's scale) scales the fixed 406 × 242 layout as a whole: the window
// grows by the factor, every control keeps its place in the layout and lies inside the window,
// and the editor renders at the window's pixel size.
class EditorScale : public testing::TestWithParam<float>
{
};

TEST_P (EditorScale, ScalesTheWholeWindow)
{
    const float scale = GetParam();
    EditorBench bench (96000.0);
    bench.processBlock();
    bench.tick();
    auto& editor = *bench.editor;
    editor.setScaleFactor (scale);

    const auto windowSize = editor.getBoundsInParent();
    EXPECT_EQ (windowSize.getWidth(), juce::roundToInt (406 * scale));
    EXPECT_EQ (windowSize.getHeight(), juce::roundToInt (242 * scale));
    EXPECT_EQ (editor.getLocalBounds(), juce::Rectangle<int> (0, 0, 406, 242)) << "the layout stays at its base size";
    EXPECT_EQ (editor.getFrequencySlider().getBounds(), juce::Rectangle<int> (125, 207, 62, 24));
    for (auto* child : editor.getChildren())
    {
        if (child == &editor.getBypassButton())
            continue;
        const auto inWindow = child->getBoundsInParent().toFloat().transformedBy (editor.getTransform());
        EXPECT_TRUE (windowSize.toFloat().expanded (0.01f).contains (inWindow)) << inWindow.toString();
    }

    const auto name = "editor-scale-" + juce::String (juce::roundToInt (scale * 100));
    const auto image = editor.createComponentSnapshot (editor.getLocalBounds(), true, scale);
    EXPECT_EQ (image.getWidth(), windowSize.getWidth());
    EXPECT_EQ (image.getHeight(), windowSize.getHeight());
    EXPECT_TRUE (test::saveImage (image, name).existsAsFile());
}

INSTANTIATE_TEST_SUITE_P (Editor, EditorScale, testing::Values (1.0f, 1.5f, 2.0f),
                          [] (const testing::TestParamInfo<float>& scale) { return "Percent" + std::to_string (juce::roundToInt (scale.param * 100)); });

} // namespace
} // namespace brevalon

namespace brevalon
{
namespace
{
// Windows the editor opens on the desktop: the preset list, the two context menus and a tooltip,
// each rendered at 100 % and 200 % from the real window the editor opened.
juce::Component* newestDesktopWindow (const std::function<bool (juce::Component&)>& matches)
{
    auto& desktop = juce::Desktop::getInstance();
    for (int i = desktop.getNumComponents(); --i >= 0;)
        if (auto* window = desktop.getComponent (i); window != nullptr && window->isVisible() && matches (*window))
            return window;
    return nullptr;
}

TEST (EditorWindows, MenusListAndTooltipScreenshots)
{
    EditorBench bench;
    auto& editor = *bench.editor;
    const juce::ModifierKeys right (juce::ModifierKeys::rightButtonModifier);
    auto* editorWindow = &bench.driver->getWindow();
    auto isPopup = [editorWindow] (juce::Component& window) {
        return &window != editorWindow && dynamic_cast<juce::TooltipWindow*> (&window) == nullptr;
    };

    // A click that opens a pop-up: it is saved, then dismissed.
    const struct
    {
        juce::Point<int> at;
        juce::ModifierKeys modifiers;
        const char* name;
    } popups[] = {
        { { 100, 12 }, {}, "editor-preset-list" },    // the preset list
        { { 100, 12 }, right, "editor-preset-menu" }, // the preset context menu
        { { 5, 235 }, right, "editor-state-menu" },   // the background's state menu
    };
    for (const auto& popup : popups)
    {
        SCOPED_TRACE (popup.name);
        bench.driver->click (popup.at, popup.modifiers);
        ComponentDriver::runMessageLoopFor (200);
        auto* window = newestDesktopWindow (isPopup);
        ASSERT_NE (window, nullptr);
        test::saveAtBothScales (*window, popup.name);
        juce::PopupMenu::dismissAllActiveMenus();
        ComponentDriver::runMessageLoopFor (100);
    }

    // A tooltip: the undo button's description after an edit, shown after the pointer rests.
    bench.processor->setParameterFromEditor (QuillfenTemplateAudioProcessor::slopeParam, 0.25f);
    bench.tick();
    juce::Desktop::setMousePosition (editor.localPointToGlobal (juce::Point<int> (12, 12)));
    bench.driver->moveTo ({ 12, 12 });
    ComponentDriver::runMessageLoopFor (1500);
    auto* tooltip = newestDesktopWindow ([] (juce::Component& window) { return dynamic_cast<juce::TooltipWindow*> (&window) != nullptr; });
    ASSERT_NE (tooltip, nullptr);
    EXPECT_GT (tooltip->getWidth(), 100);
    test::saveAtBothScales (*tooltip, "editor-tooltip");
}

} // namespace
} // namespace brevalon

namespace brevalon
{
namespace
{
// With the transport stopped (no audio blocks), the curve still follows a drag of the display:
// the editor's tick applies the pending changes itself.
TEST (EditorCurve, FollowsTheDisplayWithoutAudio)
{
    EditorBench bench (96000.0);
    bench.tick();
    const auto& curve = bench.editor->getResponseCurve();
    ASSERT_EQ (curve.getCount(), ResponseCurve::maxPoints);
    const double levelBefore = curve.getLevels()[120];

    bench.driver->drag ({ 150, 100 }, { { -60, 0 } }); // a lower corner frequency
    bench.tick();
    EXPECT_LT (curve.getLevels()[120], levelBefore - 1.0) << "the curve moved with the corner";
}

} // namespace
} // namespace brevalon
