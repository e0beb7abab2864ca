#include "ComponentDriver.h"
#include "OverlayTestBench.h"
#include "Screenshot.h"

#include "overlays/SettingsOverlay.h"

#include <gtest/gtest.h>

namespace brevalon
{
namespace
{
using test::ComponentDriver;
using test::OverlayMessageRecorder;

struct SettingsBench
{
    SettingsBench (int sliderMode, int sensitivity, int latency = 45, double sampleRate = 96000.0)
    {
        overlay.setValues (sliderMode, sensitivity, latency, sampleRate);
    }

    void click (juce::Component& component)
    {
        driver.click (overlay.getLocalPoint (&component, component.getLocalBounds().getCentre()));
        ComponentDriver::deliverPendingMessages();
    }

    juce::Button& sliderButton (const juce::String& text)
    {
        for (auto* child : overlay.getSensitivitySlider().getChildren())
            if (auto* button = dynamic_cast<juce::Button*> (child); button != nullptr && button->getButtonText() == text)
                return *button;
        ADD_FAILURE() << "no slider button " << text;
        return overlay.getCloseButton();
    }

    SettingsOverlay overlay{ "SETTINGS" };
    test::StandInEditor editor{ overlay };
    OverlayMessageRecorder recorder{ overlay };
    ComponentDriver driver{ editor };
};

void expectSliderLive (SettingsOverlay& overlay, bool live)
{
    EXPECT_EQ (overlay.getSensitivitySlider().isEnabled(), live);
    // The component keeps its opacity in eight bits.
    EXPECT_NEAR (overlay.getSensitivitySlider().getAlpha(), live ? 1.0f : SettingsOverlay::greyedOpacity, 1.0f / 255.0f);
}

TEST (SettingsOverlay, SetValuesShowsTheModeWithoutSendingAnything)
{
    for (const int mode : { 0, 1 })
    {
        SettingsBench bench (mode, 137);
        ComponentDriver::deliverPendingMessages();
        EXPECT_EQ (bench.overlay.isLinearModeOn(), mode == 1);
        EXPECT_EQ (bench.overlay.getVelocityButton().getToggleState(), mode == 0);
        EXPECT_EQ (bench.overlay.getSensitivity(), 137);
        expectSliderLive (bench.overlay, mode == 1);
        EXPECT_TRUE (bench.recorder.messages.isEmpty()) << bench.recorder.messages.joinIntoString (", ");
    }
}

TEST (SettingsOverlay, ModeButtonsSendTheModeOnceAndSwitchTheSliderAtOnce)
{
    SettingsBench bench (0, 100);
    expectSliderLive (bench.overlay, false);

    struct Step
    {
        bool clickLinear;
        bool linearAfterwards;
    };
    // To linear, linear again (stays on), back to velocity.
    for (const auto step : { Step{ true, true }, Step{ true, true }, Step{ false, false } })
    {
        bench.recorder.messages.clear();
        bench.click (step.clickLinear ? bench.overlay.getLinearButton() : bench.overlay.getVelocityButton());
        EXPECT_EQ (bench.recorder.messages, juce::StringArray ("action changeSettings_sliderMode"));
        EXPECT_EQ (bench.overlay.isLinearModeOn(), step.linearAfterwards);
        EXPECT_NE (bench.overlay.getVelocityButton().getToggleState(), step.linearAfterwards);
        expectSliderLive (bench.overlay, step.linearAfterwards);
    }
}

TEST (SettingsOverlay, TheGreyedSliderIgnoresClicksAndTheLiveOneReports)
{
    SettingsBench bench (0, 100);
    bench.click (bench.sliderButton ("+"));
    EXPECT_EQ (bench.overlay.getSensitivity(), 100);
    EXPECT_TRUE (bench.recorder.messages.isEmpty());

    bench.click (bench.overlay.getLinearButton());
    bench.recorder.messages.clear();
    bench.click (bench.sliderButton ("+"));
    bench.click (bench.sliderButton ("+"));
    bench.click (bench.sliderButton ("-"));
    EXPECT_EQ (bench.overlay.getSensitivity(), 101);
    EXPECT_EQ (bench.recorder.messages,
               juce::StringArray ({ "action changeSettings_mouseSensitivity", "action changeSettings_mouseSensitivity",
                                    "action changeSettings_mouseSensitivity" }));
}

TEST (SettingsOverlay, TheSensitivityStaysWithin1And200)
{
    for (const auto& [start, button, expected] : { std::tuple{ 200, "+", 200 }, std::tuple{ 1, "-", 1 } })
    {
        SettingsBench bench (1, start);
        bench.click (bench.sliderButton (button));
        EXPECT_EQ (bench.overlay.getSensitivity(), expected);
    }
}

TEST (SettingsOverlay, LatencyAndSampleRateLines)
{
    struct LineCase
    {
        int latency;
        double sampleRate;
        const char* latencyLine;
        const char* sampleRateLine;
    };
    const LineCase cases[] = {
        { 45, 96000.0, "Processing-latency: 45 samples (0.469 ms)", "I/O Sample-Rate: 96000 Hz" },
        { 0, 44100.0, "Processing-latency: 0 samples (0.000 ms)", "I/O Sample-Rate: 44100 Hz" },
        { 90, 192000.0, "Processing-latency: 90 samples (0.469 ms)", "I/O Sample-Rate: 192000 Hz" },
        // 0.3125 ms: a half at the fourth decimal rounds up.
        { 30, 96000.0, "Processing-latency: 30 samples (0.313 ms)", "I/O Sample-Rate: 96000 Hz" },
        { 1, 88200.0, "Processing-latency: 1 samples (0.011 ms)", "I/O Sample-Rate: 88200 Hz" },
        { 400, 88200.0, "Processing-latency: 400 samples (4.535 ms)", "I/O Sample-Rate: 88200 Hz" },
    };
    for (const auto& c : cases)
    {
        EXPECT_EQ (SettingsOverlay::latencyLine (c.latency, c.sampleRate), c.latencyLine);
        EXPECT_EQ (SettingsOverlay::sampleRateLine (c.sampleRate), c.sampleRateLine);
    }
}

TEST (SettingsOverlay, LaysOutTheModeButtonsAndTheSlider)
{
    SettingsBench bench (1, 100);
    EXPECT_EQ (bench.overlay.getContentBounds().getPosition(), juce::Point<int> (67, 50));
    EXPECT_EQ (bench.overlay.getVelocityButton().getBounds(), juce::Rectangle<int> (67, 84, 110, 22));
    EXPECT_EQ (bench.overlay.getLinearButton().getBounds(), juce::Rectangle<int> (177, 84, 110, 22));
    EXPECT_EQ (bench.overlay.getSensitivitySlider().getBounds(), juce::Rectangle<int> (67, 133, 80, 18));
    EXPECT_EQ (bench.overlay.getSensitivitySlider().getTextFromValue (137.0), "137%");
}

TEST (SettingsOverlay, TheSensitivityHeadingFadesWithTheSlider)
{
    // The heading's row: (cx, d + 44, cw, 22) with d = cy + 16, cy = 50.
    const juce::Rectangle<int> headingRow (67, 110, 272, 22);
    const auto dark = [] (juce::Colour c) { return c.getBrightness() < 0.3f; };
    int darkPixels[2] = {};
    for (const int mode : { 0, 1 })
    {
        SettingsBench bench (mode, 100);
        darkPixels[mode] = test::countPixels (test::renderComponent (bench.editor), dark, headingRow);
    }
    EXPECT_EQ (darkPixels[0], 0) << "one-third-opaque black over the panel";
    EXPECT_GT (darkPixels[1], 100) << "black text";

    // Switching to linear brings it back at once.
    SettingsBench bench (0, 100);
    bench.click (bench.overlay.getLinearButton());
    EXPECT_EQ (test::countPixels (test::renderComponent (bench.editor), dark, headingRow), darkPixels[1]);
}

TEST (SettingsOverlay, Screenshots)
{
    {
        SettingsBench bench (0, 100, 45, 96000.0);
        EXPECT_TRUE (test::saveScreenshot (bench.editor, "settings_overlay_velocity").existsAsFile());
    }
    {
        SettingsBench bench (1, 150, 0, 44100.0);
        EXPECT_TRUE (test::saveScreenshot (bench.editor, "settings_overlay_linear").existsAsFile());
    }
}

} // namespace
} // namespace brevalon
