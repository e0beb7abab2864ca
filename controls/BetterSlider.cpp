#include "controls/BetterSlider.h"

#include <cmath>
#include <utility>

namespace brevalon
{

namespace
{
// The velocity-mode parameters of the global settings: sensitivity, threshold (pixels), offset.
constexpr double velocitySensitivity = 1.0;
constexpr int velocityThreshold = 1;
constexpr double velocityOffset = 0.02;

// One standard wheel notch as the framework reports it, and the wheel steps it stands for.
constexpr double wheelUnitsPerNotch = 120.0 / 256.0;
constexpr double wheelStepsPerNotch = 2.0;
constexpr double fineWheelFactor = 0.1;

// The value change of one velocity-mode drag event of `pixels` (>= 1) along a slider whose
// largest useful movement per event is `maxSpeed` pixels: a sine law from about 0.0004 for one
// pixel up to 0.2 at half the maximum speed.
double velocityStep (double pixels, double maxSpeed, double sensitivity, int threshold, double offset)
{
    const double speed = juce::jmin (0.5, offset + juce::jmax (0.0, pixels - threshold) / maxSpeed);
    return 0.2 * sensitivity * (1.0 + std::sin (juce::MathConstants<double>::pi * (1.5 + speed)));
}
} // namespace

// The value box edits on a single click, so the second click of a double-click lands in the
// text editor that the first one opened. The editor hands the double-click back: the slider
// closes it, discarding the text, and resets the value as the framework's double-click does.
class BetterSlider::ValueBoxDoubleClick : public juce::Label::Listener, public juce::MouseListener
{
public:
    explicit ValueBoxDoubleClick (BetterSlider& owner)
        : slider (owner)
    {
    }

    void labelTextChanged (juce::Label*) override {}
    void editorShown (juce::Label*, juce::TextEditor& editor) override { editor.addMouseListener (this, true); }

    void mouseDoubleClick (const juce::MouseEvent& e) override
    {
        slider.hideTextBox (true);
        slider.Slider::mouseDoubleClick (e);
    }

private:
    BetterSlider& slider;
};

BetterSlider::BetterSlider()
    : valueBoxDoubleClick (std::make_unique<ValueBoxDoubleClick> (*this))
{
    listenToValueBox();
}

BetterSlider::~BetterSlider()
{
    // The value box outlives this member: it goes with the framework slider.
    hideTextBox (true);
    for (auto* child : getChildren())
        if (auto* valueBox = dynamic_cast<juce::Label*> (child))
            valueBox->removeListener (valueBoxDoubleClick.get());
}

void BetterSlider::lookAndFeelChanged()
{
    // The framework builds a new value box here.
    Slider::lookAndFeelChanged();
    listenToValueBox();
}

void BetterSlider::listenToValueBox()
{
    if (valueBoxDoubleClick == nullptr)
        return;
    for (auto* child : getChildren())
        if (auto* valueBox = dynamic_cast<juce::Label*> (child))
            valueBox->addListener (valueBoxDoubleClick.get());
}

void BetterSlider::attachToParameter (ParamList& list, int index)
{
    parameterList = &list;
    parameterIndex = index;

    const auto& bound = parameter();
    const int steps = bound.getNumSteps();
    setRange (0.0, 1.0, steps != 0 ? 1.0 / steps : 0.0);
    wheelStep = bound.getNormalisedStep();
    setDoubleClickReturnValue (true, bound.plainToNormalised (bound.getDefault()));
    if (steps == 0)
        setTextBoxIsEditable (true);
}

int BetterSlider::fullDragDistanceForSensitivity (int mouseSensitivity) noexcept
{
    return 150 + (int)((1.0f - (float)mouseSensitivity / 200.0f) * 800.0f);
}

void BetterSlider::applySliderSettings (int sliderMode, int mouseSensitivity)
{
    setVelocityBasedMode (sliderMode == velocityMode);
    setMouseDragSensitivity (fullDragDistanceForSensitivity (mouseSensitivity));
    setVelocityModeParameters (velocitySensitivity, velocityThreshold, velocityOffset, false);
}

//==============================================================================
void BetterSlider::mouseDown (const juce::MouseEvent& e)
{
    mouseIsDown = true;
    lastModifiers = e.mods;
    if (! isEnabled() || ! (e.mods.isLeftButtonDown() || e.mods.isRightButtonDown()))
        return;

    // Alt+click is the double-click action, with its own gesture.
    if (e.mods.withoutMouseButtons() == juce::ModifierKeys (juce::ModifierKeys::altModifier))
    {
        Slider::mouseDoubleClick (e);
        resetByClick = true;
        return;
    }

    hideTextBox (true);
    valueAtMouseDown = unsnappedValue = getValue();
    mouseDownPosition = lastDragPosition = e.getEventRelativeTo (this).position;
    currentDrag = std::make_unique<ScopedDragNotification> (*this);
    dragTo (e);
}

void BetterSlider::mouseDrag (const juce::MouseEvent& e)
{
    mouseIsDown = true;
    lastModifiers = e.mods;
    if (isEnabled() && currentDrag != nullptr)
        dragTo (e);
}

void BetterSlider::mouseUp (const juce::MouseEvent&)
{
    // The value box opens its editor on any click that did not move; a reset click is no edit.
    if (std::exchange (resetByClick, false))
        hideTextBox (true);
    if (currentDrag != nullptr)
    {
        restorePointerIfHidden();
        currentDrag.reset();
    }
    mouseIsDown = false;
}

void BetterSlider::dragTo (const juce::MouseEvent& e)
{
    const auto position = e.getEventRelativeTo (this).position;
    double newValue = unsnappedValue;
    DragMode dragMode = absoluteDrag;

    if (getVelocityBasedMode())
    {
        // Only vertical movement since the last event counts, faster movement more than in
        // proportion; moving up increases the value.
        dragMode = velocityDrag;
        const double moved = (double)position.y - (double)lastDragPosition.y;
        const double maxSpeed = juce::jmax (200.0, (double)getHeight() - 2.0);
        const double pixels = juce::jmin (std::abs (moved), maxSpeed);
        if (pixels == 0.0)
        {
            lastDragPosition = position;
            return;
        }
        const double step = velocityStep (pixels, maxSpeed, getVelocitySensitivity(), getVelocityThreshold(), getVelocityOffset());
        newValue = unsnappedValue + (moved < 0.0 ? step : -step);
        e.source.enableUnboundedMouseMovement (true, false);
    }
    else
    {
        // Distance from the mouse-down position, right and up both counting as increase.
        const double distance = ((double)position.x - (double)mouseDownPosition.x) + ((double)mouseDownPosition.y - (double)position.y);
        newValue = valueAtMouseDown + (1.0 / getMouseDragSensitivity()) * distance;
    }

    unsnappedValue = juce::jlimit (getMinimum(), getMaximum(), newValue);
    setValue (snapValue (unsnappedValue, dragMode), juce::sendNotificationSync);
    lastDragPosition = position;
}

void BetterSlider::restorePointerIfHidden()
{
    for (auto& source : juce::Desktop::getInstance().getMouseSources())
    {
        if (! source.isUnboundedMouseMovementEnabled())
            continue;
        source.enableUnboundedMouseMovement (false);
        const float y = isVertical() ? getPositionOfValue (getValue()) : (float)getHeight() * 0.5f;
        juce::Desktop::setMousePosition (localPointToGlobal (juce::Point<float> ((float)getWidth() * 0.5f, y)).roundToInt());
    }
}

//==============================================================================
void BetterSlider::mouseWheelMove (const juce::MouseEvent& e, const juce::MouseWheelDetails& wheel)
{
    if (wheel.deltaY == 0.0f)
        return;
    // The value box that covers a bar slider hands its wheel events to the slider as its mouse
    // listener, and a box that passes them on to its parent hands over a second copy: copies
    // share the event's time, and only the first is used.
    if (e.eventTime == lastWheelEventTime)
        return;
    lastWheelEventTime = e.eventTime;

    double step = 0.0;
    if (getInterval() != 0.0)
        step = wheel.deltaY > 0.0f ? getInterval() : -getInterval();
    else
    {
        step = (double)wheel.deltaY * wheelStepsPerNotch / wheelUnitsPerNotch * wheelStep;
        if (e.mods.isShiftDown())
            step *= fineWheelFactor;
    }
    if (wheel.isReversed)
        step = -step;

    const double newValue = juce::jmax (getMinimum(), juce::jmin (getMaximum(), getValue() + step));
    setValue (snapValue (newValue, notDragging), juce::sendNotificationSync);
}

//==============================================================================
double BetterSlider::getValueFromText (const juce::String& text)
{
    float parsed = 0.0f;
    if (isBound() && parameter().parseNormalised (text, parsed))
        return parsed;
    return getValue();
}

juce::String BetterSlider::getTextFromValue (double value)
{
    if (isBound())
        return parameter().textWithUnitForNormalised ((float)value);
    return juce::String (value, 2);
}

double BetterSlider::snapValue (double attemptedValue, DragMode)
{
    const bool snapping = isBound() && ! parameter().getSnapPoints().empty() && mouseIsDown &&
                          (lastModifiers.isCtrlDown() || lastModifiers.isRightButtonDown());
    if (! snapping)
        return attemptedValue;
    return parameter().nearestSnapPoint ((float)attemptedValue);
}

} // namespace brevalon
