#include "processor/QuillfenTemplateAudioProcessor.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace brevalon;

namespace
{
using Processor = QuillfenTemplateAudioProcessor;

// Runs one block of silence so that pending changes are applied.
void runBlock (Processor& processor)
{
    juce::AudioBuffer<float> buffer (2, 32);
    buffer.clear();
    juce::MidiBuffer midi;
    processor.processBlock (buffer, midi);
}

void clearAllFlags (Processor& processor)
{
    for (int i = 0; i < Processor::numParameters; ++i)
        processor.getParamManager().getParameterAt (i)->testAndClearChangeFlags (Parameter::allFlags);
}
} // namespace

TEST (ProcessorParameters, TheFourParametersInIndexOrder)
{
    const struct
    {
        int index;
        const char *id, *name, *unit;
        double minimum, maximum, defaultValue;
        int decimals;
        std::uint32_t options;
        const char* textAtDefault;
    } table[] = {
        { Processor::freqParam, "freqParam", "Frequency", "Hz", 20000.0, 25000.0, 21000.0, 1, Parameter::rateDependent, "21.0 kHz" },
        { Processor::slopeParam, "slopeParam", "Slope", "%", 0.0, 100.0, 100.0, 1, 0, "100.0 %" },
        { Processor::mixParam, "mixParam", "Mix", "%", 0.0, 100.0, 100.0, 1, 0, "100.0 %" },
        { Processor::bypassParam, "bypassParam", "Bypass", "", 0.0, 1.0, 0.0, 0, 0, "Off" },
    };

    const auto manager = Processor::createParameters();
    EXPECT_EQ (manager->getCount(), 4);
    EXPECT_TRUE (manager->isComplete());
    for (const auto& row : table)
    {
        const auto* parameter = manager->getParameterAt (row.index);
        EXPECT_EQ (parameter->getId(), row.id);
        EXPECT_EQ (parameter->getName(), row.name) << row.id;
        EXPECT_EQ (parameter->getUnit(), row.unit) << row.id;
        EXPECT_EQ (parameter->getMinimum(), row.minimum) << row.id;
        EXPECT_EQ (parameter->getMaximum(), row.maximum) << row.id;
        EXPECT_EQ (parameter->getDefault(), row.defaultValue) << row.id;
        EXPECT_EQ (parameter->getDecimals(), row.decimals) << row.id;
        EXPECT_EQ (parameter->getOptions(), row.options) << row.id;
        EXPECT_EQ (parameter->textWithUnitForPlain (parameter->getDefault()), row.textAtDefault) << row.id;
    }
    EXPECT_EQ (manager->getParameterAt (Processor::bypassParam)->getMaximumText(), "On");
    EXPECT_EQ (manager->getParameterAt (4)->getId(), "invalid");
}

TEST (ProcessorParameters, ConstructionLoadsTheDefaultPresetAndMarksEveryParameter)
{
    Processor processor;
    auto& manager = processor.getParamManager();
    EXPECT_EQ (manager.getParameterAt (Processor::freqParam)->getValue(), 21000.0);
    EXPECT_DOUBLE_EQ (manager.getParameterAt (Processor::slopeParam)->getValue(), 75.0);
    EXPECT_DOUBLE_EQ (manager.getParameterAt (Processor::mixParam)->getValue(), 100.0);
    EXPECT_FALSE (manager.getParameterAt (Processor::bypassParam)->getBoolValue());
    for (int i = 0; i < Processor::numParameters; ++i)
        EXPECT_TRUE (manager.getParameterAt (i)->hasChangeFlags (Parameter::audioFlag | Parameter::editorFlag)) << i;
}

// parameterChanged reads the frequency as its rounded plain value, slope and mix as their
// normalised floats widened to double, the mix's maximum from its plain value, and bypass as a switch.
TEST (ProcessorParameters, TheEngineReceivesTheValuesAsProcessingReadsThem)
{
    Processor processor;
    processor.prepareToPlay (96000.0, 32);
    auto& manager = processor.getParamManager();
    auto* frequency = manager.getParameterAt (Processor::freqParam);
    auto* slope = manager.getParameterAt (Processor::slopeParam);
    auto* mix = manager.getParameterAt (Processor::mixParam);
    auto* bypass = manager.getParameterAt (Processor::bypassParam);

    frequency->setNormalised (frequency->plainToNormalised (21500.04));
    slope->setNormalised (0.3f);
    mix->setNormalised (0.999f);
    bypass->setNormalised (0.6f);
    runBlock (processor);

    EXPECT_EQ (processor.getEngine().getDesignCorner(), 21500.0);
    EXPECT_EQ (processor.getEngine().getDesignSlope(), static_cast<double> (0.3f));
    EXPECT_NEAR (processor.getEngine().getDryGain(), std::pow (10.0, static_cast<double> (0.999f) * -4.0), 1e-15);
    EXPECT_TRUE (processor.getEngine().isBypassed());

    mix->setNormalised (1.0f);
    bypass->setNormalised (0.4f);
    runBlock (processor);
    EXPECT_EQ (processor.getEngine().getDryGain(), 0.0) << "at its maximum the mix has no dry path";
    EXPECT_FALSE (processor.getEngine().isBypassed());
}

TEST (ProcessorParameters, ConvenienceSettersGoThroughTheParameters)
{
    Processor processor;
    clearAllFlags (processor);
    auto& manager = processor.getParamManager();

    processor.setFrequencyHz (30000.0);
    EXPECT_EQ (manager.getParameterAt (Processor::freqParam)->getNormalised(), 1.0f);
    processor.setFrequencyHz (22222.22);
    EXPECT_EQ (processor.getFrequencyHz(), 22222.2);
    processor.setSlope (0.4);
    EXPECT_EQ (manager.getParameterAt (Processor::slopeParam)->getNormalised(), 0.4f);
    processor.setMix (std::nan (""));
    EXPECT_EQ (processor.getMix(), 0.0);
    processor.setBypass (true);
    EXPECT_TRUE (manager.getParameterAt (Processor::bypassParam)->getBoolValue());

    for (int i = 0; i < Processor::numParameters; ++i)
        EXPECT_TRUE (manager.getParameterAt (i)->hasChangeFlags (Parameter::editorFlag)) << "the editor learns of it too: " << i;
}

TEST (ProcessorParameters, PendingChangesTakeOnlyTheAudioFlag)
{
    Processor processor;
    processor.prepareToPlay (96000.0, 32);
    auto* slope = processor.getParamManager().getParameterAt (Processor::slopeParam);
    clearAllFlags (processor);

    slope->setNormalised (0.1f);
    processor.applyPendingChanges();
    EXPECT_EQ (processor.getEngine().getDesignSlope(), static_cast<double> (0.1f));
    EXPECT_FALSE (slope->hasChangeFlags (Parameter::audioFlag));
    EXPECT_TRUE (slope->hasChangeFlags (Parameter::editorFlag));
}

TEST (ProcessorParameters, OnlyANewRateMarksTheFrequency)
{
    Processor processor;
    processor.prepareToPlay (96000.0, 32);
    auto& manager = processor.getParamManager();
    clearAllFlags (processor);

    processor.prepareToPlay (96000.0, 64);
    for (int i = 0; i < Processor::numParameters; ++i)
        EXPECT_FALSE (manager.getParameterAt (i)->hasChangeFlags (Parameter::allFlags)) << "same rate: " << i;

    // The pass in prepareToPlay takes the audio flag; the editor's flag shows the mark.
    processor.prepareToPlay (192000.0, 64);
    EXPECT_TRUE (manager.getParameterAt (Processor::freqParam)->hasChangeFlags (Parameter::editorFlag));
    EXPECT_FALSE (manager.getParameterAt (Processor::freqParam)->hasChangeFlags (Parameter::audioFlag));
    for (const int other : { Processor::slopeParam, Processor::mixParam, Processor::bypassParam })
        EXPECT_FALSE (manager.getParameterAt (other)->hasChangeFlags (Parameter::allFlags)) << other;
    EXPECT_EQ (processor.getEngine().getDesignRate(), 192000.0);
}

TEST (ProcessorParameters, IndicesOutsideTheListChangeNothing)
{
    Processor processor;
    processor.prepareToPlay (96000.0, 32);
    const double corner = processor.getEngine().getDesignCorner();
    const double dry = processor.getEngine().getDryGain();
    for (const int index : { -1, 4, 99 })
    {
        processor.getParamManager().getParameterAt (index)->setNormalised (0.9f);
        processor.parameterChanged (index);
    }
    EXPECT_EQ (processor.getEngine().getDesignCorner(), corner);
    EXPECT_EQ (processor.getEngine().getDryGain(), dry);
    EXPECT_EQ (processor.getParamManager().getParameterAt (4)->getNormalised(), 0.0f);
}
