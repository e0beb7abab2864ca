#include "ComponentDriver.h"
#include "Screenshot.h"

#include "controls/BetterSlider.h"
#include "processor/QuillfenTemplateAudioProcessor.h"

#include <gtest/gtest.h>

#include <cmath>

namespace brevalon
{
namespace
{
using Processor = QuillfenTemplateAudioProcessor;
using test::ComponentDriver;

const juce::ModifierKeys shift (juce::ModifierKeys::shiftModifier);
const juce::ModifierKeys alt (juce::ModifierKeys::altModifier);

// Does with the slider what the product editor does: drag-started opens a host gesture, a
// value change writes the parameter through the editor's setter, drag-ended closes the
// gesture. The host side records gestures and value changes as the host would see them.
class EditorAndHost : public juce::Slider::Listener, public juce::AudioProcessorListener
{
public:
    EditorAndHost (Processor& p, BetterSlider& s, int index)
        : processor (p),
          slider (s),
          parameterIndex (index)
    {
        slider.addListener (this);
        processor.addListener (this);
    }

    ~EditorAndHost() override
    {
        processor.removeListener (this);
        slider.removeListener (this);
    }

    void sliderDragStarted (juce::Slider*) override
    {
        calls.add ("drag started");
        processor.getParameters()[parameterIndex]->beginChangeGesture();
    }
    void sliderValueChanged (juce::Slider*) override
    {
        calls.add ("value changed");
        processor.setParameterFromEditor (parameterIndex, (float)slider.getValue());
    }
    void sliderDragEnded (juce::Slider*) override
    {
        calls.add ("drag ended");
        processor.getParameters()[parameterIndex]->endChangeGesture();
    }

    void audioProcessorParameterChanged (juce::AudioProcessor*, int, float) override { ++hostValueChanges; }
    void audioProcessorChanged (juce::AudioProcessor*, const ChangeDetails&) override {}
    void audioProcessorParameterChangeGestureBegin (juce::AudioProcessor*, int index) override
    {
        hostGestures.add ("begin " + juce::String (index));
    }
    void audioProcessorParameterChangeGestureEnd (juce::AudioProcessor*, int index) override
    {
        hostGestures.add ("end " + juce::String (index));
    }

    juce::StringArray calls;
    juce::StringArray hostGestures;
    int hostValueChanges = 0;

private:
    Processor& processor;
    BetterSlider& slider;
    int parameterIndex;
};

// A product slider: a vertical value bar of 62 x 24 pixels with its value box, bound to a
// parameter of a real processor, at the global default settings.
struct BoundSlider
{
    explicit BoundSlider (int index = Processor::slopeParam, int sliderMode = BetterSlider::velocityMode, int sensitivity = 100)
        : parameterIndex (index)
    {
        slider.setSliderStyle (juce::Slider::LinearBarVertical);
        slider.setTextBoxStyle (juce::Slider::TextBoxBelow, true, 54, 17);
        slider.setSize (62, 24);
        slider.attachToParameter (processor.getParamManager(), index);
        slider.applySliderSettings (sliderMode, sensitivity);
    }

    Parameter& parameter() { return *processor.getParamManager().getParameterAt (parameterIndex); }

    Processor processor{ SharedFolder(), Processor::Settings::inMemory };
    int parameterIndex;
    BetterSlider slider;
};

const juce::Point<int> sliderCentre{ 31, 12 };

//==============================================================================
struct LinearDragCase
{
    int sensitivity;
    double startValue;
    std::vector<juce::Point<int>> moves; // offsets from the press, one drag event each
    double expected;
};

class LinearDrag : public testing::TestWithParam<LinearDragCase>
{
};

TEST_P (LinearDrag, MovesByDistanceFromThePressOverTheFullDragDistance)
{
    const auto& c = GetParam();
    BoundSlider bound (Processor::slopeParam, BetterSlider::linearMode, c.sensitivity);
    bound.slider.setValue (c.startValue, juce::dontSendNotification);
    EditorAndHost editor (bound.processor, bound.slider, bound.parameterIndex);
    ComponentDriver driver (bound.slider);

    driver.drag (sliderCentre, c.moves);

    EXPECT_NEAR (bound.slider.getValue(), c.expected, 1e-9);
    EXPECT_EQ (editor.calls.indexOf ("drag started"), 0) << editor.calls.joinIntoString (", ");
    EXPECT_EQ (editor.calls[editor.calls.size() - 1], "drag ended");
    EXPECT_EQ (editor.hostGestures, juce::StringArray ("begin 1", "end 1"));
}

INSTANTIATE_TEST_SUITE_P (BetterSlider, LinearDrag,
                          testing::Values (
                              // 550 pixels for the range at the default sensitivity: 55 pixels are a tenth.
                              LinearDragCase{ 100, 0.2, { { 0, -20 }, { 0, -55 } }, 0.3 }, LinearDragCase{ 100, 0.2, { { 55, 0 } }, 0.3 },
                              LinearDragCase{ 100, 0.2, { { 25, -30 } }, 0.3 }, LinearDragCase{ 100, 0.2, { { 0, 55 } }, 0.1 },
                              // The value follows the pointer back and never jumps to where the press was.
                              LinearDragCase{ 100, 0.2, { { 0, -100 }, { 0, -55 } }, 0.3 }, LinearDragCase{ 100, 0.2, {}, 0.2 },
                              // 150 pixels at sensitivity 200, 946 at sensitivity 1.
                              LinearDragCase{ 200, 0.0, { { 0, -149 } }, 149.0 / 150.0 }, LinearDragCase{ 200, 0.0, { { 0, -150 } }, 1.0 },
                              LinearDragCase{ 1, 0.0, { { 473, -472 } }, 945.0 / 946.0 }, LinearDragCase{ 1, 0.0, { { 473, -473 } }, 1.0 },
                              LinearDragCase{ 100, 0.9, { { 0, -300 } }, 1.0 }, LinearDragCase{ 100, 0.1, { { -300, 0 } }, 0.0 }));

TEST (BetterSlider, FullDragDistanceFollowsTheSensitivity)
{
    EXPECT_EQ (BetterSlider::fullDragDistanceForSensitivity (200), 150);
    EXPECT_EQ (BetterSlider::fullDragDistanceForSensitivity (100), 550);
    EXPECT_EQ (BetterSlider::fullDragDistanceForSensitivity (1), 946);
}

TEST (BetterSlider, ClickWithoutMovementChangesNothingAndOpensTheValueBox)
{
    for (int mode : { BetterSlider::velocityMode, BetterSlider::linearMode })
    {
        BoundSlider bound (Processor::slopeParam, mode);
        bound.slider.setValue (0.2, juce::dontSendNotification);
        ComponentDriver driver (bound.slider);

        driver.click ({ 5, 20 });

        EXPECT_EQ (bound.slider.getValue(), 0.2);
        auto* valueBox = dynamic_cast<juce::Label*> (bound.slider.getChildComponent (0));
        ASSERT_NE (valueBox, nullptr);
        EXPECT_NE (valueBox->getCurrentTextEditor(), nullptr) << "a plain click edits the value";
    }
}

//==============================================================================
struct VelocityDragCase
{
    std::vector<juce::Point<int>> moves;
    double expectedChange;
    double tolerance;
};

class VelocityDrag : public testing::TestWithParam<VelocityDragCase>
{
};

TEST_P (VelocityDrag, AddsASpeedDependentStepPerEvent)
{
    const auto& c = GetParam();
    BoundSlider bound;
    bound.slider.setValue (0.5, juce::dontSendNotification);
    ComponentDriver driver (bound.slider);

    driver.drag (sliderCentre, c.moves);

    EXPECT_NEAR (bound.slider.getValue() - 0.5, c.expectedChange, c.tolerance);
}

INSTANTIATE_TEST_SUITE_P (BetterSlider, VelocityDrag,
                          testing::Values (VelocityDragCase{ { { 0, -100 } }, 0.2, 1e-12 },    // the largest step
                                           VelocityDragCase{ { { 0, 100 } }, -0.2, 1e-12 },    // down decreases
                                           VelocityDragCase{ { { 0, -1 } }, 0.0004, 0.00005 }, // the smallest
                                           VelocityDragCase{ { { 0, -10 } }, 0.0042, 0.00005 },
                                           VelocityDragCase{ { { 0, -50 } }, 0.065, 0.0005 },
                                           VelocityDragCase{ { { 0, -97 } }, 0.2, 0.0001 },
                                           // each event counts its own movement: two of 50 are not one of 100
                                           VelocityDragCase{ { { 0, -50 }, { 0, -100 } }, 0.13, 0.001 },
                                           VelocityDragCase{ { { 100, 0 }, { 200, 0 } }, 0.0, 0.0 }));

TEST (BetterSlider, VelocityDragHidesThePointerAndPutsItBackOverTheValue)
{
    BoundSlider bound;
    bound.slider.setValue (0.5, juce::dontSendNotification);
    ComponentDriver driver (bound.slider);
    auto mouse = juce::Desktop::getInstance().getMainMouseSource();

    driver.press (sliderCentre);
    driver.moveTo (sliderCentre + juce::Point<int> (0, -10));
    EXPECT_TRUE (mouse.isUnboundedMouseMovementEnabled());
    driver.release();

    EXPECT_FALSE (mouse.isUnboundedMouseMovementEnabled());
    const auto expected =
        bound.slider.localPointToGlobal (juce::Point<float> (31.0f, bound.slider.getPositionOfValue (bound.slider.getValue())));
    EXPECT_EQ (juce::Desktop::getMousePosition(), expected.roundToInt());
}

//==============================================================================
struct WheelCase
{
    bool bound;
    double startValue;
    float notches;
    juce::ModifierKeys modifiers;
    bool reversed;
    double expectedChangeInWheelSteps; // of the slider's wheel step
};

class Wheel : public testing::TestWithParam<WheelCase>
{
};

TEST_P (Wheel, MovesTwoWheelStepsPerNotchAndStaysInRange)
{
    const auto& c = GetParam();
    BoundSlider bound;
    BetterSlider unbound;
    unbound.setSliderStyle (juce::Slider::LinearBarVertical);
    unbound.setTextBoxStyle (juce::Slider::TextBoxBelow, true, 54, 17);
    unbound.setRange (0.0, 1.0);
    unbound.setSize (62, 24);
    auto& slider = c.bound ? bound.slider : unbound;
    slider.setValue (c.startValue, juce::dontSendNotification);
    juce::StringArray calls;
    slider.onValueChange = [&] { calls.add ("value changed"); };
    slider.onDragStart = [&] { calls.add ("drag started"); };
    ComponentDriver driver (slider);

    driver.wheel (sliderCentre, c.notches * ComponentDriver::wheelNotch, c.modifiers, c.reversed);

    const double expected = juce::jlimit (0.0, 1.0, c.startValue + c.expectedChangeInWheelSteps * slider.getWheelStep());
    EXPECT_NEAR (slider.getValue(), expected, 1e-12);
    // Exactly one change, whichever way the event reached the slider; no gesture.
    EXPECT_EQ (calls, expected != c.startValue ? juce::StringArray ("value changed") : juce::StringArray());
}

INSTANTIATE_TEST_SUITE_P (BetterSlider, Wheel,
                          testing::Values (WheelCase{ true, 0.5, 1.0f, {}, false, 2.0 }, WheelCase{ true, 0.5, -1.0f, {}, false, -2.0 },
                                           WheelCase{ true, 0.5, 1.0f, shift, false, 0.2 }, WheelCase{ true, 0.5, 1.0f, {}, true, -2.0 },
                                           WheelCase{ true, 0.5, 3.0f, {}, false, 6.0 }, WheelCase{ true, 1.0, 1.0f, {}, false, 2.0 },
                                           WheelCase{ true, 0.0, -1.0f, {}, false, -2.0 }, WheelCase{ false, 0.5, 1.0f, {}, false, 2.0 },
                                           WheelCase{ false, 0.5, -1.0f, shift, false, -0.2 }));

TEST (BetterSlider, UnboundSliderScrollsATenthPerNotchAndShowsTwoDecimals)
{
    BetterSlider slider;
    slider.setSliderStyle (juce::Slider::LinearBarVertical);
    slider.setTextBoxStyle (juce::Slider::TextBoxBelow, false, 54, 17);
    slider.setRange (0.0, 1.0);
    slider.setSize (62, 24);
    slider.setValue (0.25, juce::dontSendNotification);
    ComponentDriver driver (slider);

    driver.wheel (sliderCentre, ComponentDriver::wheelNotch);

    EXPECT_NEAR (slider.getValue(), 0.35, 1e-12);
    EXPECT_EQ (slider.getTextFromValue (slider.getValue()), "0.35");
    EXPECT_EQ (slider.getValueFromText ("0.8"), slider.getValue()) << "an unbound slider cannot use typed text";
}

TEST (BetterSlider, AStepwiseSliderWheelsOneIntervalPerEvent)
{
    BetterSlider slider;
    slider.setSliderStyle (juce::Slider::LinearBarVertical);
    slider.setTextBoxStyle (juce::Slider::TextBoxBelow, false, 54, 17);
    slider.setRange (0.0, 1.0, 0.25);
    slider.setSize (62, 24);
    slider.setValue (0.5, juce::dontSendNotification);
    ComponentDriver driver (slider);

    driver.wheel (sliderCentre, 3.0f * ComponentDriver::wheelNotch);
    EXPECT_EQ (slider.getValue(), 0.75);
    driver.wheel (sliderCentre, -0.1f * ComponentDriver::wheelNotch, shift);
    EXPECT_EQ (slider.getValue(), 0.5);
}

TEST (BetterSlider, BindingTakesStepDefaultAndEditabilityFromTheParameter)
{
    BoundSlider bound (Processor::freqParam);
    const auto& parameter = bound.parameter();
    EXPECT_EQ (bound.slider.getMinimum(), 0.0);
    EXPECT_EQ (bound.slider.getMaximum(), 1.0);
    EXPECT_EQ (bound.slider.getInterval(), 0.0);
    EXPECT_EQ (bound.slider.getWheelStep(), (double)parameter.getNormalisedStep());
    EXPECT_EQ (bound.slider.getDoubleClickReturnValue(), (double)parameter.plainToNormalised (parameter.getDefault()));
    EXPECT_TRUE (bound.slider.isTextBoxEditable()) << "a continuous parameter makes the read-only box editable";
    EXPECT_EQ (bound.slider.getTextFromValue (parameter.plainToNormalised (22000.0)),
               parameter.textWithUnitForNormalised (parameter.plainToNormalised (22000.0)));
}

//==============================================================================
struct TextEntryCase
{
    const char* typed;
    double expectedHz; // 0: the text does not parse
};

class TextEntry : public testing::TestWithParam<TextEntryCase>
{
};

TEST_P (TextEntry, ParsesThroughTheParameterAsOneGestureOrChangesNothing)
{
    const auto& c = GetParam();
    BoundSlider bound (Processor::freqParam);
    auto& parameter = bound.parameter();
    bound.slider.setValue (parameter.getNormalised(), juce::dontSendNotification);
    const float before = parameter.getNormalised();
    EditorAndHost editor (bound.processor, bound.slider, Processor::freqParam);
    ComponentDriver driver (bound.slider);

    driver.click (sliderCentre);
    driver.pressKey (juce::KeyPress ('a', juce::ModifierKeys::ctrlModifier, 0));
    driver.typeText (c.typed);
    driver.pressKey (juce::KeyPress (juce::KeyPress::returnKey));

    const bool parses = c.expectedHz != 0.0;
    const float expected = parses ? parameter.plainToNormalised (c.expectedHz) : before;
    EXPECT_EQ (bound.slider.getValue(), (double)expected);
    EXPECT_EQ (parameter.getNormalised(), expected);
    // The click that opened the box is a gesture without a change; a typed value is the next.
    const juce::StringArray clickGesture ("begin 0", "end 0");
    const juce::StringArray bothGestures ("begin 0", "end 0", "begin 0", "end 0");
    EXPECT_EQ (editor.hostGestures, parses ? bothGestures : clickGesture);
    EXPECT_EQ (editor.hostValueChanges, parses ? 1 : 0);
}

INSTANTIATE_TEST_SUITE_P (BetterSlider, TextEntry,
                          testing::Values (TextEntryCase{ "22000", 22000.0 }, TextEntryCase{ "22.5 kHz", 22500.0 },
                                           TextEntryCase{ "30000", 25000.0 }, TextEntryCase{ "loud", 0.0 }, TextEntryCase{ "", 0.0 }));

struct ResetCase
{
    const char* name;
    bool doubleClick; // else Alt+click
};

class ResetToDefault : public testing::TestWithParam<ResetCase>
{
};

TEST_P (ResetToDefault, ReachesTheHostAsOneGesture)
{
    BoundSlider bound (Processor::slopeParam);
    auto& parameter = bound.parameter();
    bound.slider.setValue (0.2, juce::dontSendNotification);
    EditorAndHost editor (bound.processor, bound.slider, Processor::slopeParam);
    ComponentDriver driver (bound.slider);

    if (GetParam().doubleClick)
        driver.doubleClick (sliderCentre);
    else
        driver.click (sliderCentre, alt);

    const float expected = parameter.plainToNormalised (parameter.getDefault());
    EXPECT_EQ (bound.slider.getValue(), (double)expected);
    EXPECT_EQ (parameter.getNormalised(), expected);
    // Only the reset changed the value, inside a gesture of its own.
    const int change = editor.calls.indexOf ("value changed");
    ASSERT_GT (change, 0);
    EXPECT_EQ (editor.calls[change - 1], "drag started");
    EXPECT_EQ (editor.calls[change + 1], "drag ended");
    EXPECT_EQ (editor.calls.indexOf ("value changed", false, change + 1), -1);
    EXPECT_EQ (editor.hostValueChanges, 1);
    auto* valueBox = dynamic_cast<juce::Label*> (bound.slider.getChildComponent (0));
    ASSERT_NE (valueBox, nullptr);
    EXPECT_EQ (valueBox->getCurrentTextEditor(), nullptr) << "a reset leaves the value box closed";
}

INSTANTIATE_TEST_SUITE_P (BetterSlider, ResetToDefault, testing::Values (ResetCase{ "DoubleClick", true }, ResetCase{ "AltClick", false }),
                          [] (const auto& testCase) { return std::string (testCase.param.name); });

//==============================================================================
TEST (BetterSlider, SnapsOnlyWithCtrlOrTheRightButtonWhileTheMouseIsDown)
{
    BoundSlider bound (Processor::slopeParam, BetterSlider::linearMode);
    auto& parameter = bound.parameter();
    parameter.setSnapPoints ({ 50.0 });
    bound.slider.setValue (0.2, juce::dontSendNotification);
    ComponentDriver driver (bound.slider);

    driver.drag (sliderCentre, { { 0, -170 } }, juce::ModifierKeys (juce::ModifierKeys::ctrlModifier));
    EXPECT_EQ (bound.slider.getValue(), 0.5) << "0.509 snaps to the snap point at 50 %";

    bound.slider.setValue (0.2, juce::dontSendNotification);
    driver.drag (sliderCentre, { { 0, -170 } }, juce::ModifierKeys (juce::ModifierKeys::rightButtonModifier));
    EXPECT_EQ (bound.slider.getValue(), 0.5);

    bound.slider.setValue (0.2, juce::dontSendNotification);
    driver.drag (sliderCentre, { { 0, -170 } });
    EXPECT_NEAR (bound.slider.getValue(), 0.2 + 170.0 / 550.0, 1e-12);

    EXPECT_EQ (bound.slider.snapValue (0.49, juce::Slider::notDragging), 0.49) << "never snaps with the mouse up";
}

TEST (BetterSlider, WithoutSnapPointsCtrlDragIsAPlainDrag)
{
    BoundSlider bound (Processor::slopeParam, BetterSlider::linearMode);
    bound.slider.setValue (0.2, juce::dontSendNotification);
    ComponentDriver driver (bound.slider);

    driver.drag (sliderCentre, { { 0, -170 } }, juce::ModifierKeys (juce::ModifierKeys::ctrlModifier));

    EXPECT_NEAR (bound.slider.getValue(), 0.2 + 170.0 / 550.0, 1e-12);
}

TEST (BetterSlider, Screenshot)
{
    BoundSlider bound (Processor::freqParam);
    bound.slider.setValue (bound.parameter().getNormalised(), juce::dontSendNotification);

    const auto file = test::saveScreenshot (bound.slider, "slider-frequency");

    EXPECT_TRUE (file.existsAsFile());
    EXPECT_EQ (bound.slider.getTextFromValue (bound.slider.getValue()), bound.parameter().getTextWithUnit());
}

} // namespace
} // namespace brevalon
