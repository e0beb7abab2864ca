#include "controls/MagnitudeDisplayBackground.h"

#include "controls/TextLine.h"

namespace brevalon
{

namespace
{
const juce::Colour gridColour (0xFF222222);
constexpr double wideAxisRate = 88200.0;
constexpr int levelLabelStepDb = 20;
constexpr int lowestLevelLabelDb = 80;
constexpr double dbRange = 90.0;
} // namespace

juce::Array<double> MagnitudeDisplayBackground::getLabelledFrequencies() const
{
    // Narrow axes (up to 44.1 kHz) get a label every 10 kHz, wide ones a 1-2-5 series.
    static const juce::Array<double> narrowAxis{ 10000.0, 20000.0, 30000.0, 40000.0, 50000.0 };
    static const juce::Array<double> wideAxis{ 10000.0, 20000.0, 50000.0, 100000.0, 200000.0 };

    juce::Array<double> labelled;
    for (double frequency : (nyquist < wideAxisRate ? narrowAxis : wideAxis))
    {
        if (frequency > nyquist)
            break;
        labelled.add (frequency);
    }
    return labelled;
}

juce::String MagnitudeDisplayBackground::labelFor (double frequency)
{
    return juce::String ((int)(frequency / 1000.0 + 0.5)) + "k";
}

void MagnitudeDisplayBackground::paint (juce::Graphics& g)
{
    if (! hasCurve())
        return;

    const int h = getHeight();
    const int axisWidth = getWidth() - plotLeft;
    const int levelSpan = h - 40;

    for (double frequency : getLabelledFrequencies())
        drawRegularText (g, labelFor (frequency), 12.0f, juce::Colours::white,
                         (int)((float)frequencyToColumn (frequency, axisWidth, nyquist) - 0.5f) + 2, levelSpan + 24, 40,
                         juce::Justification::centred);

    for (int level = 0; level <= lowestLevelLabelDb; level += levelLabelStepDb)
        drawRegularText (g, juce::String (-level), 13.0f, juce::Colours::white, -8, (int)(level * levelSpan / dbRange) + 14, 27,
                         juce::Justification::centredRight);

    g.setColour (gridColour);
    for (double frequency : { 20000.0, 30000.0, 40000.0, 50000.0, 60000.0, 70000.0, 80000.0, 90000.0, 100000.0, 200000.0 })
    {
        // One pixel wide, centred on x = column - 0.5 + plotLeft: exactly the pixel column left of it.
        const int x = frequencyToColumn (frequency, axisWidth, nyquist) + plotLeft - 1;
        g.fillRect (x, 25, 1, levelSpan + 24 - 25);
    }
}

} // namespace brevalon
