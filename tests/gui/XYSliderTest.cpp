#include "ComponentDriver.h"

#include "controls/XYSlider.h"

#include <gtest/gtest.h>

#include <memory>

namespace brevalon
{
namespace
{
using test::ComponentDriver;

// Records every notification with the values at that moment.
class Recorder : public XYSlider::Listener
{
public:
    void xySliderValueChanged (XYSlider* s) override
    {
        calls.add ("changed " + juce::String (s->getXValue()) + " " + juce::String (s->getYValue()));
    }
    void xySliderDragStarted (XYSlider*) override { calls.add ("started"); }
    void xySliderDragEnded (XYSlider*) override { calls.add ("ended"); }

    juce::StringArray calls;
};

struct XYSliderBench
{
    XYSliderBench()
    {
        slider->setSize (366, 142);
        slider->addListener (&recorder);
    }

    std::unique_ptr<XYSlider> slider = std::make_unique<XYSlider>();
    Recorder recorder;
};

const juce::Point<int> centre{ 183, 71 };

TEST (XYSlider, DragsRelativelyAtTwoHundredPixelsPerRange)
{
    XYSliderBench bench;
    bench.slider->setXYValues (0.2f, 0.5f);
    ComponentDriver driver (*bench.slider);

    driver.drag (centre, { { 40, -10 }, { 100, -50 } });

    EXPECT_EQ (bench.slider->getXValue(), 0.7f);
    EXPECT_EQ (bench.slider->getYValue(), 0.75f);
    EXPECT_EQ (bench.recorder.calls, juce::StringArray ("started", "changed 0.4 0.55", "changed 0.7 0.75", "ended"));
}

TEST (XYSlider, ClampsAndStillNotifiesEveryMove)
{
    XYSliderBench bench;
    bench.slider->setXYValues (0.5f, 0.5f);
    ComponentDriver driver (*bench.slider);
    std::vector<juce::Point<int>> moves;
    for (int x = 10; x <= 300; x += 10)
        moves.push_back ({ x, 0 });

    driver.drag (centre, moves);

    EXPECT_EQ (bench.slider->getXValue(), 1.0f);
    EXPECT_EQ (bench.slider->getYValue(), 0.5f);
    // 30 moves, the last 20 of them beyond the end.
    EXPECT_EQ (bench.recorder.calls.size(), 32);
    EXPECT_EQ (bench.recorder.calls[31 - 1], "changed 1 0.5");
}

TEST (XYSlider, AltClickResetsThenStartsADrag)
{
    XYSliderBench bench;
    bench.slider->setDefaultValues (0.25f, 0.75f);
    bench.slider->setXYValues (0.9f, 0.1f);
    ComponentDriver driver (*bench.slider);

    driver.click (centre, juce::ModifierKeys (juce::ModifierKeys::altModifier));

    EXPECT_EQ (bench.slider->getXValue(), 0.25f);
    EXPECT_EQ (bench.slider->getYValue(), 0.75f);
    EXPECT_EQ (bench.recorder.calls, juce::StringArray ("changed 0.25 0.75", "started", "ended"));
}

TEST (XYSlider, DoubleClickResetsWithoutAGestureOfItsOwn)
{
    XYSliderBench bench;
    bench.slider->setDefaultValues (0.25f, 0.75f);
    bench.slider->setXYValues (0.9f, 0.1f);
    ComponentDriver driver (*bench.slider);

    driver.doubleClick (centre);

    EXPECT_EQ (bench.slider->getXValue(), 0.25f);
    EXPECT_EQ (bench.recorder.calls, juce::StringArray ("started", "ended", "started", "ended", "changed 0.25 0.75"));
}

TEST (XYSlider, DisabledAxisStaysButIsClamped)
{
    XYSliderBench bench;
    bench.slider->setXEnabled (false);
    bench.slider->setXYValues (1.5f, 0.5f);
    ComponentDriver driver (*bench.slider);

    driver.drag (centre, { { 100, -20 } });

    EXPECT_EQ (bench.slider->getXValue(), 1.0f);
    EXPECT_EQ (bench.slider->getYValue(), 0.6f);
}

// Deletes the control in its callback, as an owner closing the window might.
class Deleter : public XYSlider::Listener
{
public:
    explicit Deleter (std::unique_ptr<XYSlider>& owned)
        : slider (owned)
    {
    }
    void xySliderValueChanged (XYSlider*) override {}
    void xySliderDragStarted (XYSlider*) override { slider.reset(); }

private:
    std::unique_ptr<XYSlider>& slider;
};

TEST (XYSlider, AListenerThatDeletesTheControlEndsTheWalk)
{
    XYSliderBench bench; // its recorder is the first listener, so the walk reaches it last
    Deleter deleter (bench.slider);
    bench.slider->addListener (&deleter);
    bench.slider->addListener (&deleter); // registered once only
    ComponentDriver driver (*bench.slider);

    driver.press (centre);
    driver.release();

    EXPECT_EQ (bench.slider, nullptr);
    EXPECT_TRUE (bench.recorder.calls.isEmpty()) << bench.recorder.calls.joinIntoString (", ");
}

} // namespace
} // namespace brevalon
