#pragma once

#include "params/BooleanParameter.h"
#include "params/FrequencyParameter.h"
#include "resources/NamedResources.h"
#include "state/ParamManager.h"
#include "state/StateEngine.h"

#include <gtest/gtest.h>

#include <memory>

namespace brevalon
{

// A state engine over the product's four parameters with the factory presets loaded, and a
// millisecond clock the test moves by hand.
class StateTest : public ::testing::Test
{
protected:
    static std::unique_ptr<ParamManager> makeProductModel()
    {
        auto model = std::make_unique<ParamManager> (4);
        model->setParameterAt (0, std::make_unique<FrequencyParameter> (20000.0, 25000.0, 21000.0));
        model->setParameterAt (1, std::make_unique<Parameter> ("slopeParam", "Slope", "%", 0.0, 100.0, 100.0, 1));
        model->setParameterAt (2, std::make_unique<Parameter> ("mixParam", "Mix", "%", 0.0, 100.0, 100.0, 1));
        model->setParameterAt (3, std::make_unique<BooleanParameter>());
        model->checkComplete();
        StateEngine::initialisePrograms (*model);
        int size = 0;
        const char* data = brevalon::resources::getNamedResource ("presets_xml", size);
        const auto presets = juce::parseXML (juce::String::fromUTF8 (data, size));
        StateEngine::loadFactoryPresets (*model, *presets);
        return model;
    }

    // The shared folder of the test: a fresh temporary directory, never the user's.
    std::unique_ptr<StateEngine> makeEngine (uint32_t* clock)
    {
        auto created = std::make_unique<StateEngine> (makeProductModel(), "Brevalon.conf", SharedFolder (sharedFolder));
        created->setMillisecondClock ([clock] { return *clock; });
        return created;
    }

    void SetUp() override
    {
        if (sharedFolder == juce::File())
            sharedFolder = juce::File::getSpecialLocation (juce::File::tempDirectory).getChildFile ("brevalon-state-test-" + juce::Uuid().toString());
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
