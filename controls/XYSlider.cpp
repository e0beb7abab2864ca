#include "controls/XYSlider.h"

namespace brevalon
{

namespace
{
constexpr int relativeDrag = 1;

// Values leave a drag exactly representable in single precision, as the parameters store them.
double toSinglePrecision (double v) noexcept
{
    return (double)(float)v;
}
} // namespace

XYSlider::~XYSlider() = default;

void XYSlider::addListener (Listener* listener)
{
    listeners.addIfNotAlreadyThere (listener);
}

void XYSlider::setXValue (float x)
{
    xValue = x;
    repaint();
}

void XYSlider::setYValue (float y)
{
    yValue = y;
    repaint();
}

void XYSlider::setXYValues (float x, float y)
{
    setXValue (x);
    setYValue (y);
}

void XYSlider::setDefaultValues (float x, float y)
{
    xDefault = x;
    yDefault = y;
}

void XYSlider::resetToDefaults()
{
    setXYValues ((float)xDefault, (float)yDefault);
    notifyListeners (&Listener::xySliderValueChanged);
}

void XYSlider::notifyListeners (void (Listener::*callback) (XYSlider*))
{
    // The weak reference tells whether a listener deleted this control; the index is pulled
    // back when the list shrank during a call.
    const juce::Component::SafePointer<XYSlider> stillAlive (this);
    for (int i = listeners.size(); --i >= 0;)
    {
        (listeners.getUnchecked (i)->*callback) (this);
        if (stillAlive == nullptr)
            return;
        i = juce::jmin (i, listeners.size());
    }
}

//==============================================================================
void XYSlider::mouseDown (const juce::MouseEvent& e)
{
    const juce::Component::SafePointer<XYSlider> stillAlive (this);
    if (e.mods.isAltDown())
    {
        resetToDefaults();
        if (stillAlive == nullptr)
            return;
    }

    isDragging = true;
    mouseDownPosition = lastMousePosition = e.getEventRelativeTo (this).getPosition();
    xAtMouseDown = xValue;
    yAtMouseDown = yValue;
    notifyListeners (&Listener::xySliderDragStarted);
}

void XYSlider::mouseDrag (const juce::MouseEvent& e)
{
    const auto position = e.getEventRelativeTo (this).getPosition();
    if (dragMode == relativeDrag)
    {
        const auto moved = position - mouseDownPosition;
        if (xEnabled)
            xValue = (1.0 / pixelsPerRange) * moved.x + xAtMouseDown;
        if (yEnabled)
            yValue = yAtMouseDown - (1.0 / pixelsPerRange) * moved.y;
    }

    xValue = juce::jlimit (0.0, 1.0, xValue);
    yValue = juce::jlimit (0.0, 1.0, yValue);
    if (xEnabled)
    {
        xValue = toSinglePrecision (xValue);
        repaint();
    }
    if (yEnabled)
    {
        yValue = toSinglePrecision (yValue);
        repaint();
    }

    lastMousePosition = position;
    notifyListeners (&Listener::xySliderValueChanged);
}

void XYSlider::mouseUp (const juce::MouseEvent&)
{
    isDragging = false;
    for (auto& source : juce::Desktop::getInstance().getMouseSources())
    {
        if (source.isUnboundedMouseMovementEnabled())
        {
            source.enableUnboundedMouseMovement (false);
            juce::Desktop::setMousePosition (getScreenBounds().getCentre());
        }
    }
    notifyListeners (&Listener::xySliderDragEnded);
}

void XYSlider::mouseDoubleClick (const juce::MouseEvent&)
{
    resetToDefaults();
}

} // namespace brevalon
