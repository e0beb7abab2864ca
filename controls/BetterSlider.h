#pragma once

#include "params/ParamList.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <memory>

namespace brevalon
{

// The editor's parameter control: a slider that always works in the normalised range 0..1 of
// one parameter of a parameter list. It takes its range, default (double-click) value, text
// editability and wheel step from the parameter, converts texts through it, and snaps to its
// snap points while the mouse is held with Ctrl or the right button.
//
// Dragging follows its own arithmetic in the framework slider's two modes ("velocity" and
// "linear", see applySliderSettings) rather than the framework's drag, so the feel does not
// depend on the framework version. The slider never writes the parameter: its listeners get
// value changes framed by drag-started and drag-ended and turn them into parameter writes.
//
// Message thread only.
class BetterSlider : public juce::Slider
{
public:
    enum SliderMode
    {
        velocityMode = 0,
        linearMode = 1
    };

    BetterSlider();
    ~BetterSlider() override;

    // Binds the slider to parameter `index` of `list` (which outlives the slider). The caller
    // sets style and text box first; a continuous parameter makes the text box editable.
    void attachToParameter (ParamList& list, int index);

    // The two global settings: `sliderMode` (velocityMode or linearMode) and `mouseSensitivity`
    // 1..200, which sets the distance of a full-range linear drag.
    void applySliderSettings (int sliderMode, int mouseSensitivity);
    static int fullDragDistanceForSensitivity (int mouseSensitivity) noexcept;

    bool isBound() const noexcept { return parameterList != nullptr && parameterIndex >= 0; }
    double getWheelStep() const noexcept { return wheelStep; }

    void mouseDown (const juce::MouseEvent&) override;
    void mouseDrag (const juce::MouseEvent&) override;
    void mouseUp (const juce::MouseEvent&) override;
    void mouseWheelMove (const juce::MouseEvent&, const juce::MouseWheelDetails&) override;

    void lookAndFeelChanged() override;

    double getValueFromText (const juce::String& text) override;
    juce::String getTextFromValue (double value) override;
    double snapValue (double attemptedValue, DragMode dragMode) override;

private:
    class ValueBoxDoubleClick;

    Parameter& parameter() const noexcept { return *parameterList->getParameterAt (parameterIndex); }
    void dragTo (const juce::MouseEvent&);
    // Where a velocity drag leaves the pointer: over the horizontal centre, at the value's height.
    void restorePointerIfHidden();
    void listenToValueBox();

    double wheelStep = 0.05;
    ParamList* parameterList = nullptr;
    int parameterIndex = -1;
    bool mouseIsDown = false;
    juce::ModifierKeys lastModifiers;
    juce::Time lastWheelEventTime;
    bool resetByClick = false;

    // The drag in progress: its start, the last event's position and the value before snapping.
    std::unique_ptr<ScopedDragNotification> currentDrag;
    double valueAtMouseDown = 0.0;
    double unsnappedValue = 0.0;
    juce::Point<float> mouseDownPosition;
    juce::Point<float> lastDragPosition;

    std::unique_ptr<ValueBoxDoubleClick> valueBoxDoubleClick;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (BetterSlider)
};

} // namespace brevalon
