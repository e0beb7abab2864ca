#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

namespace brevalon
{

// A two-dimensional drag control holding x and y in 0..1: relative drags move x sideways and
// y up and down, `pixelsPerRange` pixels for a full sweep. Alt+click and double-click return to
// the defaults. It draws nothing; subclasses paint. Listeners are called from the last
// registered to the first, and a listener may delete the control inside its callback.
//
// Message thread only.
class XYSlider : public juce::Component, public juce::ChangeBroadcaster
{
public:
    class Listener
    {
    public:
        virtual ~Listener() = default;
        virtual void xySliderValueChanged (XYSlider* slider) = 0;
        virtual void xySliderDragStarted (XYSlider*) {}
        virtual void xySliderDragEnded (XYSlider*) {}
    };

    XYSlider() = default;
    ~XYSlider() override;

    // Appends the listener unless it is registered already; it is never removed.
    void addListener (Listener* listener);

    float getXValue() const noexcept { return (float)xValue; }
    float getYValue() const noexcept { return (float)yValue; }
    // These store and repaint without notifying listeners.
    void setXValue (float x);
    void setYValue (float y);
    void setXYValues (float x, float y);
    void setDefaultValues (float x, float y);

    void setXEnabled (bool enabled) noexcept { xEnabled = enabled; }
    void setYEnabled (bool enabled) noexcept { yEnabled = enabled; }
    bool isBeingDragged() const noexcept { return isDragging; }

    void mouseDown (const juce::MouseEvent&) override;
    void mouseDrag (const juce::MouseEvent&) override;
    void mouseUp (const juce::MouseEvent&) override;
    void mouseDoubleClick (const juce::MouseEvent&) override;

    void paint (juce::Graphics&) override {}
    void resized() override {}

private:
    void resetToDefaults();
    void notifyListeners (void (Listener::*callback) (XYSlider*));

    int pixelsPerRange = 200;
    juce::Array<Listener*> listeners;
    juce::Point<int> mouseDownPosition;
    juce::Point<int> lastMousePosition;
    double xAtMouseDown = 0.0;
    double yAtMouseDown = 0.0;
    bool isDragging = false;
    int dragMode = 1;
    double xValue = 0.0;
    double yValue = 0.0;
    double xDefault = 0.0;
    double yDefault = 0.0;
    bool xEnabled = true;
    bool yEnabled = true;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (XYSlider)
};

} // namespace brevalon
