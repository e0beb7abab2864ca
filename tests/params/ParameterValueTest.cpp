#include "params/BooleanParameter.h"
#include "params/DiscreteParameter.h"
#include "params/FrequencyParameter.h"
#include "params/Parameter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>
#include <memory>
#include <vector>

using namespace brevalon;

namespace
{

struct MappedKind
{
    const char* name;
    std::function<std::unique_ptr<Parameter>()> make;
};

const std::vector<MappedKind>& mappedKinds()
{
    static const std::vector<MappedKind> table = {
        { "linear", [] { return std::make_unique<Parameter> ("slopeParam", "Slope", "%", 0.0, 100.0, 100.0, 1); } },
        { "linear, inverted",
          [] {
              return std::make_unique<Parameter> ("depth", juce::String(), "dB", -60.0, 12.0, 0.0, 1, juce::String(), Parameter::inverted);
          } },
        { "discrete", [] { return std::make_unique<DiscreteParameter> ("mouseSensitivity", 1, 200, 100); } },
        { "logarithmic frequency", [] { return std::make_unique<FrequencyParameter> (20000.0, 25000.0, 21000.0); } },
        { "logarithmic, wide", [] { return std::make_unique<FrequencyParameter> (20.0, 20000.0, 1000.0); } },
    };
    return table;
}

} // namespace

TEST (ParameterValue, NormalisedToPlainToNormalisedRoundTrips)
{
    for (const auto& kind : mappedKinds())
    {
        const auto parameter = kind.make();
        for (int i = 0; i <= 1000; ++i)
        {
            const float normalised = static_cast<float> (i) / 1000.0f;
            const double plain = parameter->normalisedToPlain (normalised);
            EXPECT_GE (plain, parameter->getMinimum()) << kind.name << " " << normalised;
            EXPECT_LE (plain, parameter->getMaximum()) << kind.name << " " << normalised;
            EXPECT_NEAR (parameter->plainToNormalised (plain), normalised, std::numeric_limits<float>::epsilon())
                << kind.name << " " << normalised;
        }
    }
}

TEST (ParameterValue, PlainToNormalisedToPlainKeepsFloatPrecision)
{
    for (const auto& kind : mappedKinds())
    {
        const auto parameter = kind.make();
        const double minimum = parameter->getMinimum(), maximum = parameter->getMaximum();
        for (int i = 0; i <= 1000; ++i)
        {
            const double plain = minimum + (maximum - minimum) * i / 1000.0;
            const float normalised = parameter->plainToNormalised (plain);
            const double back = parameter->normalisedToPlain (normalised);
            // Within one float step of the normalised value, seen in the unit.
            const double stepBelow = std::abs (back - parameter->normalisedToPlain (std::nextafter (normalised, 0.0f)));
            const double stepAbove = std::abs (parameter->normalisedToPlain (std::nextafter (normalised, 1.0f)) - back);
            const double tolerance = std::max ({ stepBelow, stepAbove, std::numeric_limits<float>::epsilon() * (maximum - minimum) });
            EXPECT_NEAR (back, plain, tolerance) << kind.name << " " << plain;
        }
    }
}

TEST (ParameterValue, LogarithmicFrequencyMapping)
{
    FrequencyParameter frequency (20000.0, 25000.0, 21000.0);
    EXPECT_EQ (frequency.normalisedToPlain (0.0f), 20000.0);
    EXPECT_EQ (frequency.normalisedToPlain (1.0f), 25000.0);
    EXPECT_NEAR (frequency.normalisedToPlain (0.5f), std::sqrt (20000.0 * 25000.0), 1e-6);
    EXPECT_NEAR (frequency.getNormalised(), std::log (21000.0 / 20000.0) / std::log (25000.0 / 20000.0), 1e-7);
    EXPECT_NEAR (frequency.getNormalised(), 0.2186, 1e-4);
    EXPECT_EQ (frequency.getValue(), 21000.0) << "processing reads the default exactly";
    EXPECT_EQ (frequency.plainToNormalised (10.0), 0.0f);
    EXPECT_EQ (frequency.plainToNormalised (1e9), 1.0f);

    // Setting the range moves the logarithmic mapping with it.
    frequency.setRange (1000.0, 4000.0);
    EXPECT_NEAR (frequency.normalisedToPlain (0.5f), 2000.0, 1e-4);
}

TEST (ParameterValue, InversionSwapsTheEndsOfTheLinearMapping)
{
    Parameter inverted ("depth", {}, {}, 0.0, 10.0, 2.0, 1, {}, Parameter::inverted);
    EXPECT_EQ (inverted.normalisedToPlain (0.0f), 10.0);
    EXPECT_EQ (inverted.normalisedToPlain (1.0f), 0.0);
    EXPECT_FLOAT_EQ (inverted.getNormalised(), 0.8f);
    EXPECT_DOUBLE_EQ (inverted.getValue(), 2.0);
}

TEST (ParameterValue, GetValueRoundsToTheDecimals)
{
    Parameter slope ("slopeParam", "Slope", "%", 0.0, 100.0, 100.0, 1);
    slope.setNormalised (0.123456f);
    EXPECT_DOUBLE_EQ (slope.getValue(), 12.3);
    EXPECT_EQ (slope.getIntValue(), 12);
    EXPECT_NEAR (slope.getRawValue(), 12.3456, 1e-5);

    Parameter unrounded ("x", {}, {}, 0.0, 100.0, 0.0, 1, {}, Parameter::noRounding);
    unrounded.setNormalised (0.123456f);
    EXPECT_NEAR (unrounded.getValue(), 12.3456, 1e-5);

    DiscreteParameter sliderMode ("sliderMode", 0, 1, 0, "velocity|linear");
    sliderMode.setNormalised (0.4f);
    EXPECT_FLOAT_EQ (static_cast<float> (sliderMode.getValue()), 0.4f) << "discrete values read unrounded";
    EXPECT_EQ (sliderMode.getIntValue(), 0);
    EXPECT_EQ (sliderMode.getText(), "velocity");
    sliderMode.setNormalised (0.5f);
    EXPECT_EQ (sliderMode.getIntValue(), 1);
    EXPECT_EQ (sliderMode.getText(), "linear");
}

TEST (ParameterValue, SetNormalisedKeepsTheValueInRange)
{
    const struct
    {
        float written, stored;
    } cases[] = {
        { 0.3f, 0.3f },
        { 1.5f, 1.0f },
        { -0.5f, 0.0f },
        { std::numeric_limits<float>::quiet_NaN(), 0.0f },
        { std::numeric_limits<float>::infinity(), 1.0f },
    };
    Parameter slope ("slopeParam", "Slope", "%", 0.0, 100.0, 100.0, 1);
    for (const auto& c : cases)
    {
        slope.setNormalised (c.written);
        EXPECT_EQ (slope.getNormalised(), c.stored) << c.written;
        EXPECT_GE (slope.getRawValue(), 0.0);
        EXPECT_LE (slope.getRawValue(), 100.0);
    }
}

TEST (ParameterValue, ConstructionClampsTheDefaultAndSetsNoFlag)
{
    Parameter high ("x", {}, {}, 0.0, 10.0, 15.0, 0);
    EXPECT_EQ (high.getNormalised(), 1.0f);
    EXPECT_EQ (high.getDefault(), 15.0) << "the default itself is kept as given";
    EXPECT_FALSE (high.hasChangeFlags (Parameter::allFlags));
    EXPECT_EQ (high.getName(), "x") << "no name: the id serves";

    BooleanParameter bypass;
    EXPECT_EQ (bypass.getId(), "bypassParam");
    EXPECT_EQ (bypass.getName(), "Bypass");
    EXPECT_FALSE (bypass.getBoolValue());
    EXPECT_FALSE (bypass.hasChangeFlags (Parameter::allFlags));

    FrequencyParameter frequency (20000.0, 25000.0, 21000.0);
    EXPECT_EQ (frequency.getOptions(), static_cast<std::uint32_t> (Parameter::rateDependent));
    EXPECT_EQ (frequency.getUnit(), "Hz");
    EXPECT_EQ (frequency.getDecimals(), 1);
}

TEST (ParameterValue, SpecialTextsFromTheSpecification)
{
    const struct
    {
        const char* specification;
        const char *minimum, *middle, *maximum;
    } cases[] = {
        { "", "", "", "" },
        { "Off", "Off", "", "" },
        { "Off|On", "Off", "", "On" },
        { "Low|Mid|High", "Low", "Mid", "High" },
        { "a|b|c|d", "", "", "" },
        { "\"x|y\"|z", "\"x|y\"", "", "z" },
    };
    for (const auto& c : cases)
    {
        const Parameter parameter ("x", {}, {}, 0.0, 1.0, 0.0, 0, c.specification);
        EXPECT_EQ (parameter.getMinimumText(), c.minimum) << c.specification;
        EXPECT_EQ (parameter.getMiddleText(), c.middle) << c.specification;
        EXPECT_EQ (parameter.getMaximumText(), c.maximum) << c.specification;
    }
}

TEST (ParameterValue, NormalisedSteps)
{
    const struct
    {
        double minimum, maximum;
        int decimals;
        std::uint32_t options;
        float step;
    } cases[] = {
        { 0.0, 100.0, 1, 0, 0.02f },                     // a step of 2
        { 0.0, 1.0, 0, 0, 1.0f },                        // a switch
        { 20000.0, 25000.0, 1, 0, 0.01f },               // 50 Hz
        { 1.0, 200.0, 0, 0, 2.0f / 199.0f },             // 2
        { 0.0, 100.0, 1, Parameter::plainStep, 0.016f }, // 1 / 62.5, not snapped
        { 0.0, 10.0, 0, 0, 0.1f },                       // 1
        { 0.0, 3.0, 2, 0, 5.0f / 300.0f },               // 0.05
        { 100.0, 0.0, 1, 0, 0.02f },                     // an upside-down range still gives a positive step
        { 5.0, 5.0, 1, 0, 1.0f },                        // an empty range has one position
    };
    for (const auto& c : cases)
    {
        const Parameter parameter ("x", {}, {}, c.minimum, c.maximum, c.minimum, c.decimals, {}, c.options);
        EXPECT_FLOAT_EQ (parameter.getNormalisedStep(), c.step) << c.minimum << ".." << c.maximum << " decimals " << c.decimals;
    }
    EXPECT_FLOAT_EQ (FrequencyParameter (20000.0, 25000.0, 21000.0).getNormalisedStep(), 0.01f);
}

TEST (ParameterValue, EndsOfTheRange)
{
    Parameter mix ("mixParam", "Mix", "%", 0.0, 100.0, 100.0, 1);
    EXPECT_TRUE (mix.isAtMaximum());
    EXPECT_FALSE (mix.isAtMinimum());
    mix.setNormalised (0.0f);
    EXPECT_TRUE (mix.isAtMinimum());
    EXPECT_FALSE (mix.isAtMaximum());
    mix.setNormalised (0.999f);
    EXPECT_FALSE (mix.isAtMaximum());

    const Parameter rounded ("x", {}, {}, -0.6, 2.5, 1.5, 0);
    EXPECT_EQ (rounded.getMinimumInt(), -1);
    EXPECT_EQ (rounded.getMaximumInt(), 3);
    EXPECT_EQ (rounded.getDefaultInt(), 2);
}

TEST (ParameterValue, RangeChanges)
{
    Parameter parameter ("x", {}, {}, 0.0, 10.0, 2.5, 1, "Low|Mid|High");
    parameter.setRangeKeepingPosition (0.0, 100.0, 2);
    EXPECT_EQ (parameter.getNormalised(), 0.25f);
    EXPECT_DOUBLE_EQ (parameter.getValue(), 25.0);
    EXPECT_EQ (parameter.getDecimals(), 2);
    EXPECT_TRUE (parameter.testAndClearChangeFlags (Parameter::audioFlag)) << "a range change is a value change";
    EXPECT_EQ (parameter.textForPlain (5.0), "Mid") << "the middle stays where it was fixed";

    BooleanParameter bypass;
    bypass.setRange (5.0, 10.0);
    EXPECT_EQ (bypass.getMinimum(), 0.0);
    EXPECT_EQ (bypass.getMaximum(), 1.0);
}

TEST (ParameterValue, EachConsumerSeesAChangeOnce)
{
    Parameter parameter ("x", {}, {}, 0.0, 1.0, 0.0, 2);
    parameter.setNormalised (0.5f);
    parameter.setNormalised (0.6f); // two changes between looks count as one
    for (const std::uint32_t consumer : { 0x0001u, 0x0002u, 0x8000u })
    {
        EXPECT_TRUE (parameter.hasChangeFlags (consumer));
        EXPECT_TRUE (parameter.testAndClearChangeFlags (consumer)) << consumer;
        EXPECT_FALSE (parameter.testAndClearChangeFlags (consumer)) << consumer;
    }
    EXPECT_TRUE (parameter.hasChangeFlags (0x0004)) << "other consumers keep their bit";
    EXPECT_FALSE (parameter.hasChangeFlags (0x10000)) << "only 16 bits are set";

    parameter.markChanged();
    EXPECT_TRUE (parameter.testAndClearChangeFlags (Parameter::audioFlag | Parameter::editorFlag));
    EXPECT_FALSE (parameter.hasChangeFlags (Parameter::audioFlag | Parameter::editorFlag));
}

TEST (ParameterValue, NearestSnapPoint)
{
    Parameter plain ("x", {}, {}, 0.0, 100.0, 0.0, 1);
    EXPECT_EQ (plain.nearestSnapPoint (0.5f), 0.0f);
    EXPECT_EQ (plain.nearestSnapPoint (0.51f), 1.0f);

    plain.setSnapPoints ({ 25.0, 75.0 });
    const struct
    {
        float x, nearest;
    } cases[] = {
        { 0.3f, 0.25f }, { 0.125f, 0.0f }, { 0.5f, 0.25f }, { 0.875f, 0.75f }, { 0.9f, 1.0f }, { -0.2f, 0.0f },
    };
    for (const auto& c : cases)
        EXPECT_EQ (plain.nearestSnapPoint (c.x), c.nearest) << c.x;
}
