#include "ComponentDriver.h"
#include "Screenshot.h"

#include "controls/MagnitudeDisplay.h"
#include "controls/ResponseCurve.h"
#include "processor/QuillfenTemplateAudioProcessor.h"

#include <gtest/gtest.h>

#include <cmath>

namespace brevalon
{
namespace
{
using Processor = QuillfenTemplateAudioProcessor;

// The display at its size in the product editor, fed as the editor feeds it from a real
// processor: the response sampled at up to 180 frequencies after each (re)design.
struct FedDisplay
{
    FedDisplay()
    {
        display.setSize (366, 142);
        display.setVisible (true);
    }

    void prepareAndFeed (double sampleRate)
    {
        processor.prepareToPlay (sampleRate, 512);
        curve.update (sampleRate, [this] (double hz) { return processor.responseAt (hz); });
        display.setSampleRate (sampleRate);
        display.setCurve (curve.getFrequencies(), curve.getLevels(), curve.getCount());
        display.setMarkerFrequency (processor.getFrequencyHz());
    }

    Processor processor{ SharedFolder(), Processor::Settings::inMemory };
    ResponseCurve curve;
    MagnitudeDisplay display;
};

// Components keep their opacity in eight bits.
constexpr float alphaResolution = 1.0f / 255.0f;

bool isTransparent (const juce::Image& image)
{
    for (int y = 0; y < image.getHeight(); ++y)
        for (int x = 0; x < image.getWidth(); ++x)
            if (image.getPixelAt (x, y).getAlpha() != 0)
                return false;
    return true;
}

//==============================================================================
struct LabelCase
{
    double sampleRate;
    juce::StringArray labels;
};

class FrequencyLabels : public testing::TestWithParam<LabelCase>
{
};

TEST_P (FrequencyLabels, FollowTheRate)
{
    FedDisplay fed;
    const double levels[] = { 0.0, 0.0, 0.0 };
    const double frequencies[] = { 10000.0, 11000.0, 12000.0 };
    fed.display.setSampleRate (GetParam().sampleRate);
    fed.display.setCurve (frequencies, levels, 3);

    juce::StringArray labels;
    for (double frequency : fed.display.getBackground().getLabelledFrequencies())
        labels.add (MagnitudeDisplayBackground::labelFor (frequency));

    EXPECT_EQ (labels, GetParam().labels);
}

INSTANTIATE_TEST_SUITE_P (MagnitudeDisplay, FrequencyLabels,
                          testing::Values (LabelCase{ 44100.0, { "10k", "20k" } }, LabelCase{ 88200.0, { "10k", "20k", "30k", "40k" } },
                                           LabelCase{ 96000.0, { "10k", "20k", "30k", "40k" } },
                                           LabelCase{ 192000.0, { "10k", "20k", "50k" } },
                                           LabelCase{ 384000.0, { "10k", "20k", "50k", "100k" } }));

TEST (MagnitudeDisplay, AxisRunsFromTenKilohertzToNyquist)
{
    EXPECT_EQ (frequencyToColumn (10000.0, 344, 48000.0f), 0);
    EXPECT_EQ (frequencyToColumn (48000.0, 344, 48000.0f), 344);
    // log10 (2) / log10 (4.8) of the width.
    EXPECT_EQ (frequencyToColumn (20000.0, 344, 48000.0f), (int)(344.0 * std::log10 (2.0) / std::log10 (4.8)));
}

//==============================================================================
class CurveByIndex : public testing::TestWithParam<int>
{
};

TEST_P (CurveByIndex, SpreadsAnyNumberOfPointsOverTheWholeWidth)
{
    const int count = GetParam();
    std::vector<double> frequencies ((size_t)count, 10000.0);
    std::vector<double> levels ((size_t)count);
    for (int i = 0; i < count; ++i)
        levels[(size_t)i] = -90.0 * i / (count - 1); // a straight fall from 0 to -90 dB
    FedDisplay fed;
    fed.display.setSampleRate (96000.0);
    fed.display.setCurve (frequencies.data(), levels.data(), count);

    const auto& plot = fed.display.getPlot();
    const auto& points = plot.getCurvePoints();
    ASSERT_EQ ((int)points.size(), plot.getWidth() + 2) << "one point per column, and one each side";
    EXPECT_EQ (points.front().x, 0.5f);
    EXPECT_EQ (points.front().y, plot.levelToY (0.0));
    // The straight fall stays straight: the middle column is near half-way down.
    const auto middle = points[points.size() / 2];
    EXPECT_NEAR (middle.y, plot.levelToY (-45.0), plot.getHeight() / 90.0 * 90.0 / (count - 2) + 1.0);
}

INSTANTIATE_TEST_SUITE_P (MagnitudeDisplay, CurveByIndex, testing::Values (180, 90, 20, 3));

TEST (MagnitudeDisplay, NoPointsLeaveThePlotEmptyWhileTheBackgroundDraws)
{
    FedDisplay fed;
    const double none[ResponseCurve::maxPoints] = {};
    fed.display.setSampleRate (96000.0);
    fed.display.setCurve (none, none, 0);

    EXPECT_TRUE (fed.display.getPlot().getCurvePoints().empty());
    EXPECT_TRUE (isTransparent (test::renderComponent (const_cast<MagnitudePlot&> (fed.display.getPlot()))));
    EXPECT_FALSE (isTransparent (test::renderComponent (const_cast<MagnitudeDisplayBackground&> (fed.display.getBackground()))));
}

TEST (MagnitudeDisplay, BeforeTheFirstFeedOnlyTheDimmedHeaderAndTheMessageShow)
{
    FedDisplay fed;
    EXPECT_TRUE (fed.display.getMessage().isVisible());
    EXPECT_EQ (fed.display.getHeaderAlpha(), 0.3f);
    EXPECT_TRUE (isTransparent (test::renderComponent (const_cast<MagnitudeDisplayBackground&> (fed.display.getBackground()))));
}

//==============================================================================
struct RateCase
{
    double sampleRate;
    bool messageShown;
};

class BandwidthMessage : public testing::TestWithParam<RateCase>
{
};

TEST_P (BandwidthMessage, ShowsOnlyAtRatesTheFilterDoesNotSupport)
{
    const auto& c = GetParam();
    FedDisplay fed;
    fed.display.setSampleRate (96000.0);
    fed.display.setSampleRate (c.sampleRate);

    const float dimmed = c.messageShown ? 0.3f : 1.0f;
    EXPECT_EQ (fed.display.getMessage().isVisible(), c.messageShown);
    EXPECT_NEAR (fed.display.getBackground().getAlpha(), dimmed, alphaResolution);
    EXPECT_NEAR (fed.display.getPlot().getAlpha(), dimmed, alphaResolution);
    EXPECT_EQ (fed.display.getHeaderAlpha(), dimmed);
    EXPECT_EQ (fed.display.getPlot().getNyquist(), (float)(c.sampleRate / 2.0));
}

INSTANTIATE_TEST_SUITE_P (MagnitudeDisplay, BandwidthMessage,
                          testing::Values (RateCase{ 44100.0, true }, RateCase{ 48000.0, true }, RateCase{ 88199.0, true },
                                           RateCase{ 88200.0, false }, RateCase{ 96000.0, false }, RateCase{ 384000.0, false }));

TEST (MagnitudeDisplay, BypassDimsTheWholeDisplayAndTheHeaderFurther)
{
    FedDisplay fed;
    fed.prepareAndFeed (96000.0);

    fed.display.showBypassed (true);
    EXPECT_NEAR (fed.display.getAlpha(), 0.3f, alphaResolution);
    EXPECT_EQ (fed.display.getHeaderAlpha(), 0.3f);

    fed.display.showBypassed (false);
    EXPECT_EQ (fed.display.getAlpha(), 1.0f);
    EXPECT_EQ (fed.display.getHeaderAlpha(), 1.0f);
}

//==============================================================================
TEST (MagnitudeDisplay, CurvePointAtTheCornerSitsAtMinusPointOneDecibel)
{
    FedDisplay fed;
    fed.prepareAndFeed (96000.0);
    const double corner = fed.processor.getFrequencyHz();
    ASSERT_EQ (corner, 21000.0) << "the default design";
    ASSERT_EQ (fed.curve.getCount(), ResponseCurve::maxPoints);
    ASSERT_NEAR (20.0 * std::log10 (fed.processor.responseAt (corner)), -0.1, 0.02) << "the engine's own corner";

    // The corner's position among the points, and the column the plot gives that position.
    const auto& plot = fed.display.getPlot();
    const int n = fed.curve.getCount();
    const double pointPosition = ResponseCurve::maxPoints * std::log10 (corner / 10000.0) / std::log10 (48000.0 / 10000.0);
    const double column = pointPosition * (plot.getWidth() + 2) / (n - 2);
    const auto& points = plot.getCurvePoints();
    const auto left = (size_t)column;
    const double t = column - (double)left;
    const double y = points[left].y * (1.0 - t) + points[left + 1].y * t;

    EXPECT_NEAR (y, plot.levelToY (-0.1), 1.0);
    EXPECT_GT (points.back().y, plot.levelToY (-90.0)) << "the stop band lies below the plot";
    EXPECT_EQ (plot.getMarkerX(), (float)frequencyToColumn (corner, plot.getWidth(), 48000.0f) - 0.5f);
}

TEST (MagnitudeDisplay, DragsAnywhereOverItsLayers)
{
    FedDisplay fed;
    fed.prepareAndFeed (96000.0);
    fed.display.setXYValues (0.2f, 0.5f);
    test::ComponentDriver driver (fed.display);

    // From the middle of the plot, and from the message area's label corner.
    driver.drag ({ 180, 70 }, { { 20, -10 } });
    driver.drag ({ 5, 130 }, { { 20, -10 } });

    EXPECT_EQ (fed.display.getXValue(), 0.4f);
    EXPECT_EQ (fed.display.getYValue(), 0.6f);
}

//==============================================================================
// Counts repaint requests that reach the display (its own and its layers').
class RepaintCounter : public juce::CachedComponentImage
{
public:
    void paint (juce::Graphics&) override {}
    bool invalidateAll() override
    {
        areas.add ({ 0, 0, 1 << 16, 1 << 16 });
        return true;
    }
    bool invalidate (const juce::Rectangle<int>& area) override
    {
        areas.add (area);
        return true;
    }
    void releaseResources() override {}

    juce::Array<juce::Rectangle<int>> areas;
};

TEST (MagnitudeDisplay, AnIdleDisplayRepaintsNothing)
{
    FedDisplay fed;
    fed.prepareAndFeed (96000.0);
    fed.display.showBypassed (false);
    auto* counter = new RepaintCounter();
    fed.display.setCachedComponentImage (counter);
    test::ComponentDriver driver (fed.display);
    test::ComponentDriver::deliverPendingMessages();
    counter->areas.clear();

    // What the editor's timer passes on every tick while nothing changes.
    fed.display.setSampleRate (96000.0);
    fed.display.setMarkerFrequency (fed.processor.getFrequencyHz());
    fed.display.showBypassed (false);
    test::ComponentDriver::deliverPendingMessages();
    EXPECT_TRUE (counter->areas.isEmpty());

    // A moved marker repaints the plot layer only.
    fed.display.setMarkerFrequency (22000.0);
    ASSERT_FALSE (counter->areas.isEmpty());
    for (auto area : counter->areas)
        EXPECT_TRUE (fed.display.getPlot().getBounds().contains (area)) << area.toString();
}

//==============================================================================
TEST (MagnitudeDisplay, Screenshots)
{
    FedDisplay fed;
    fed.prepareAndFeed (96000.0);
    EXPECT_TRUE (test::saveScreenshot (fed.display, "display-96k-default").existsAsFile());

    fed.processor.setSlope (0.0);
    fed.prepareAndFeed (192000.0);
    EXPECT_EQ (fed.display.getBackground().getLabelledFrequencies().size(), 3);
    EXPECT_TRUE (test::saveScreenshot (fed.display, "display-192k-slope0").existsAsFile());

    // Below the supported rates the processor answers with the flat response of the inactive filter.
    fed.prepareAndFeed (44100.0);
    EXPECT_TRUE (fed.display.getMessage().isVisible());
    EXPECT_TRUE (test::saveScreenshot (fed.display, "display-44k-message").existsAsFile());
}

} // namespace
} // namespace brevalon
