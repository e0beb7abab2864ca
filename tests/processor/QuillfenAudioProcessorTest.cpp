#include "processor/HostParameter.h"
#include "state/GlobalParamList.h"
#include "tests/support/LockHolder.h"
#include "processor/QuillfenTemplateAudioProcessor.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <future>
#include <vector>

using namespace brevalon;

namespace
{
// The framework base on its own: the product's parameters and programs, mono in and stereo out,
// and a parameterChanged that only records what it is told.
class BaseProcessor final : public QuillfenAudioProcessor
{
public:
    BaseProcessor()
        : QuillfenAudioProcessor (BusesProperties()
                                      .withInput ("Input", juce::AudioChannelSet::mono(), true)
                                      .withOutput ("Output", juce::AudioChannelSet::stereo(), true),
                                  QuillfenTemplateAudioProcessor::createParameters(),
                                  SharedFolder(),
                                  GlobalParamList::inSharedFile (SharedFolder()))
    {
    }

    void parameterChanged (int index) override { changed.push_back (index); }

    std::vector<int> changed;
};

void clearAllFlags (QuillfenAudioProcessor& processor)
{
    auto& parameters = processor.getParamManager();
    for (int i = 0; i < parameters.getCount(); ++i)
        parameters.getParameterAt (i)->testAndClearChangeFlags (Parameter::allFlags);
}

std::vector<float> values (const QuillfenAudioProcessor& processor)
{
    std::vector<float> result;
    for (int i = 0; i < processor.getNumHostParameters(); ++i)
        result.push_back (processor.getHostParameter (i));
    return result;
}

juce::MemoryBlock stateOf (QuillfenAudioProcessor& processor)
{
    juce::MemoryBlock block;
    processor.getStateInformation (block);
    return block;
}
} // namespace

TEST (QuillfenAudioProcessor, HostParameterOperations)
{
    BaseProcessor processor;
    const struct
    {
        const char* name;
        const char* text;
    } table[] = { { "Frequency", "21.0 kHz" }, { "Slope", "75.0 %" }, { "Mix", "100.0 %" }, { "Bypass", "Off" } };

    ASSERT_EQ (processor.getNumHostParameters(), 4);
    for (int i = 0; i < 4; ++i)
    {
        EXPECT_EQ (processor.getHostParameterName (i), table[i].name) << i;
        EXPECT_EQ (processor.getHostParameterText (i), table[i].text) << i;
        EXPECT_EQ (processor.getHostParameterNumSteps (i), 0) << i;
        EXPECT_TRUE (processor.isHostParameterAutomatable (i)) << i;
    }
    // The logarithmic position of 21 kHz between 20 and 25 kHz.
    EXPECT_NEAR (processor.getHostParameterDefaultValue (0), std::log (21000.0 / 20000.0) / std::log (25000.0 / 20000.0), 1e-6);
    EXPECT_NEAR (processor.getHostParameterDefaultValue (0), 0.2186, 1e-4);

    processor.setHostParameter (3, 1.0f);
    EXPECT_EQ (processor.getHostParameterText (3), "On");
    processor.setHostParameter (3, 0.0f);
    EXPECT_EQ (processor.getHostParameterText (3), "Off");
}

TEST (QuillfenAudioProcessor, IndexOutsideTheListReadsZeroAndWritesNowhere)
{
    BaseProcessor processor;
    const auto before = values (processor);
    EXPECT_EQ (processor.getHostParameter (7), 0.0f);
    processor.setHostParameter (7, 0.75f);
    EXPECT_EQ (processor.getHostParameter (7), 0.0f);
    EXPECT_EQ (values (processor), before);
}

// Hosts reach the four parameters through objects whose identifiers are the indices; JUCE's LV2
// wrapper needs a name that does not start with a digit.
TEST (QuillfenAudioProcessor, HostParameterObjectsDelegateToTheOperations)
{
    BaseProcessor processor;
    const auto& parameters = processor.getParameters();
    ASSERT_EQ (parameters.size(), 4);
    for (int i = 0; i < 4; ++i)
    {
        auto* parameter = dynamic_cast<HostParameter*> (parameters[i]);
        ASSERT_NE (parameter, nullptr) << i;
        EXPECT_EQ (parameter->getParameterID(), juce::String (i));
        EXPECT_EQ (parameter->getName (100), processor.getHostParameterName (i));
        EXPECT_EQ (parameter->getValue(), processor.getHostParameter (i));
        EXPECT_EQ (parameter->getDefaultValue(), processor.getHostParameterDefaultValue (i));
        EXPECT_EQ (parameter->getCurrentValueAsText(), processor.getHostParameterText (i));
        EXPECT_EQ (parameter->getLabel(), juce::String());
    }

    parameters[1]->setValue (0.25f);
    EXPECT_EQ (processor.getHostParameter (1), 0.25f);
    EXPECT_EQ (parameters[0]->getText (1.0f, 100), "25.0 kHz");
    EXPECT_FLOAT_EQ (parameters[0]->getValueForText ("22 kHz"), std::log (22000.0f / 20000.0f) / std::log (25000.0f / 20000.0f));
    EXPECT_EQ (parameters[0]->getName (4), "Freq");

    const struct
    {
        juce::AudioProcessor::WrapperType wrapper;
        const char* id;
    } ids[] = { { juce::AudioProcessor::wrapperType_Undefined, "2" },
                { juce::AudioProcessor::wrapperType_VST, "2" },
                { juce::AudioProcessor::wrapperType_VST3, "2" },
                { juce::AudioProcessor::wrapperType_Standalone, "2" },
                { juce::AudioProcessor::wrapperType_LV2, "_2" } };
    for (const auto& row : ids)
        EXPECT_EQ (HostParameter::idFor (2, row.wrapper), row.id) << row.wrapper;
}

// prepareToPlay marks the rate-dependent frequency on the first call and whenever the rate
// changes, never for the same rate again; applyPendingChanges hands the marks to the product.
TEST (QuillfenAudioProcessor, OnlyANewRateMarksTheFrequency)
{
    BaseProcessor processor;
    clearAllFlags (processor);
    const auto frequencyMarked = [&] { return processor.getParamManager().getParameterAt (0)->hasChangeFlags (Parameter::audioFlag); };

    const struct
    {
        double rate;
        bool marks;
    } calls[] = { { 96000.0, true }, { 96000.0, false }, { 192000.0, true }, { 192000.0, false }, { 96000.0, true } };
    for (const auto& call : calls)
    {
        processor.prepareToPlay (call.rate, 512);
        EXPECT_EQ (processor.getCurrentSampleRate(), call.rate);
        EXPECT_EQ (frequencyMarked(), call.marks) << call.rate;
        processor.changed.clear();
        processor.applyPendingChanges();
        EXPECT_EQ (processor.changed, call.marks ? std::vector<int>{ 0 } : std::vector<int>{}) << call.rate;
    }
}

TEST (QuillfenAudioProcessor, FixedAnswers)
{
    BaseProcessor processor;
    EXPECT_EQ (processor.getName(), "Brevalon");
    EXPECT_EQ (processor.getCurrentSampleRate(), 44100.0);
    EXPECT_EQ (processor.getInputChannelName (0), "1");
    EXPECT_EQ (processor.getInputChannelName (1), "2");
    EXPECT_EQ (processor.getOutputChannelName (0), "1");
    EXPECT_EQ (processor.getOutputChannelName (1), "2");
    EXPECT_TRUE (processor.isInputChannelStereoPair (0));
    EXPECT_TRUE (processor.isOutputChannelStereoPair (0));
    EXPECT_FALSE (processor.silenceInProducesSilenceOut());
    EXPECT_EQ (processor.getTailLengthSeconds(), 0.0);
    EXPECT_FALSE (processor.acceptsMidi());
    EXPECT_FALSE (processor.producesMidi());
    EXPECT_TRUE (processor.hasEditor());
    EXPECT_EQ (processor.getLatencySamples(), 0);
}

// The base's processing clears the outputs that have no input (here the second of mono in,
// stereo out) and leaves the others alone.
TEST (QuillfenAudioProcessor, OutputsWithoutInputAreCleared)
{
    BaseProcessor processor;
    processor.prepareToPlay (96000.0, 64);
    juce::MidiBuffer midi;

    juce::AudioBuffer<float> buffer (2, 64);
    buffer.clear();
    buffer.setSample (0, 5, 0.5f);
    buffer.setSample (1, 5, 0.5f);
    processor.processBlock (buffer, midi);
    EXPECT_EQ (buffer.getSample (0, 5), 0.5f);
    EXPECT_EQ (buffer.getSample (1, 5), 0.0f);
}

TEST (QuillfenAudioProcessor, ProgramsForTheHost)
{
    BaseProcessor processor;
    const char* names[] = { "Default", "Light",   "Intermediate", "Steep and reduced", "Hard",
                            "USER001", "USER002", "USER003",      "USER004",           "USER005" };
    ASSERT_EQ (processor.getNumPrograms(), 10);
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ (processor.getProgramName (i), names[i]) << i;
    EXPECT_EQ (processor.getCurrentProgram(), 0);

    processor.setCurrentProgram (4);
    EXPECT_EQ (processor.getCurrentProgram(), 4);
    // An empty user slot cannot be selected.
    processor.setCurrentProgram (6);
    EXPECT_EQ (processor.getCurrentProgram(), 4);
}

// The chunk carries parameters, current program, the A/B states and the undo history: a fresh
// instance that loads it writes the same chunk and can undo the same steps.
TEST (QuillfenAudioProcessor, StateWithComparisonAndHistoryRestoresIntoAFreshInstance)
{
    QuillfenTemplateAudioProcessor original;
    auto& engine = original.getStateEngine();
    original.setCurrentProgram (2);
    original.setParameterFromEditor (QuillfenTemplateAudioProcessor::slopeParam, 0.4f);
    engine.copyAToB();
    engine.selectB();
    original.setParameterFromEditor (QuillfenTemplateAudioProcessor::mixParam, 0.6f);
    ASSERT_TRUE (engine.isBActive());
    ASSERT_FALSE (engine.isLinked());
    const auto saved = stateOf (original);

    QuillfenTemplateAudioProcessor restored;
    restored.setStateInformation (saved.getData(), (int)saved.getSize());
    EXPECT_EQ (stateOf (restored), saved);
    EXPECT_EQ (values (restored), values (original));
    EXPECT_EQ (restored.getCurrentProgram(), 2);
    EXPECT_TRUE (restored.getStateEngine().isBActive());
    EXPECT_FALSE (restored.getStateEngine().isLinked());
    EXPECT_EQ (restored.getStateEngine().getUndoDescription(), engine.getUndoDescription());

    // Undoing in both walks the same history.
    engine.undo();
    restored.getStateEngine().undo();
    EXPECT_EQ (values (restored), values (original));
    EXPECT_EQ (stateOf (restored), stateOf (original));
}

// Hosts may automate on the audio thread. Neither a host parameter write nor a block waits for
// the state engine's lock, which the message thread holds while it saves or loads state.
TEST (QuillfenAudioProcessor, HostAutomationNeverWaitsForTheStateEngineLock)
{
    QuillfenTemplateAudioProcessor processor;
    processor.prepareToPlay (96000.0, 256);
    juce::AudioBuffer<float> buffer (2, 256);
    buffer.clear();
    juce::MidiBuffer midi;

    brevalon::test::LockHolder holder (processor.getStateEngine().getLock());
    auto audio = std::async (std::launch::async,
                             [&]
                             {
                                 for (int block = 0; block < 100; ++block)
                                 {
                                     for (auto* parameter : processor.getParameters())
                                         parameter->setValue ((float)((block * 7 + parameter->getParameterIndex()) % 10) / 10.0f);
                                     processor.processBlock (buffer, midi);
                                 }
                             });
    // The time limit only guards against a hang: the audio thread must finish while the lock is held.
    EXPECT_EQ (audio.wait_for (std::chrono::seconds (10)), std::future_status::ready);
    holder.release();
    audio.wait();
}

// The message thread saves state over and over while the audio thread automates and processes:
// both run to the end, and a save after the audio thread stopped holds its last value.
TEST (QuillfenAudioProcessor, StateSavesWhileTheAudioThreadAutomates)
{
    QuillfenTemplateAudioProcessor processor;
    processor.prepareToPlay (96000.0, 256);
    auto& frequency = *processor.getParameters()[QuillfenTemplateAudioProcessor::freqParam];
    std::atomic<bool> audioDone{ false };

    auto audio = std::async (std::launch::async,
                             [&]
                             {
                                 juce::AudioBuffer<float> buffer (2, 256);
                                 juce::MidiBuffer midi;
                                 for (int block = 0; block < 500; ++block)
                                 {
                                     buffer.clear();
                                     frequency.setValue ((float)(block % 101) / 100.0f);
                                     processor.processBlock (buffer, midi);
                                 }
                                 frequency.setValue (0.5f);
                                 processor.processBlock (buffer, midi);
                                 audioDone = true;
                             });
    while (! audioDone)
        EXPECT_GT (stateOf (processor).getSize(), 0u);
    // The time limit only guards against a hang.
    ASSERT_EQ (audio.wait_for (std::chrono::seconds (30)), std::future_status::ready);
    audio.get();

    const auto saved = stateOf (processor);
    QuillfenTemplateAudioProcessor restored;
    restored.setStateInformation (saved.getData(), (int)saved.getSize());
    EXPECT_EQ (restored.getHostParameterText (0), processor.getHostParameterText (0));
    EXPECT_EQ (processor.getHostParameterText (0), "22.4 kHz");
}
