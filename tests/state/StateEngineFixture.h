#pragma once

#include "processor/QuillfenTemplateAudioProcessor.h"
#include "state/ParamManager.h"
#include "state/StateEngine.h"

#include <gtest/gtest.h>

#include <memory>

namespace brevalon
{

// A state engine over the product's parameters and factory presets, as the plug-in creates them,
// and a millisecond clock the test moves by hand. The state tests derive one fixture from it per
// behaviour.
class StateEngineFixture : public ::testing::Test
{
protected:
    // The shared folder of the test: a fresh temporary directory, never the user's.
    std::unique_ptr<StateEngine> makeEngine (uint32_t* clock)
    {
        auto created = std::make_unique<StateEngine> (QuillfenTemplateAudioProcessor::createParameters(), "Brevalon.conf",
                                                      SharedFolder (sharedFolder));
        created->setMillisecondClock ([clock] { return *clock; });
        return created;
    }

    void SetUp() override
    {
        if (sharedFolder == juce::File())
            sharedFolder =
                juce::File::getSpecialLocation (juce::File::tempDirectory).getChildFile ("brevalon-state-test-" + juce::Uuid().toString());
        engine = makeEngine (&now);
    }

    void TearDown() override { sharedFolder.deleteRecursively(); }

    juce::File presetFile() const { return sharedFolder.getChildFile ("Brevalon.conf"); }

    ParamManager& model() { return engine->getModel(); }
    Parameter& param (int index) { return *model().getParameterAt (index); }
    float value (int index) { return param (index).getNormalised(); }

    std::unique_ptr<juce::XmlElement> roundTrip (StateEngine& source, std::unique_ptr<StateEngine>& target)
    {
        auto document = source.createStateDocument();
        target = makeEngine (&now);
        target->restoreFromDocument (document.get());
        return document;
    }

    juce::File sharedFolder;
    uint32_t now = 100000;
    std::unique_ptr<StateEngine> engine;
};

} // namespace brevalon
