#include "params/BooleanParameter.h"
#include "params/DiscreteParameter.h"
#include "params/FrequencyParameter.h"
#include "params/Parameter.h"

#include <gtest/gtest.h>

#include <clocale>
#include <functional>
#include <memory>
#include <string>
#include <vector>

using namespace brevalon;

namespace
{

struct TextCase
{
    double plain;
    const char* text;
    const char* withUnit;
};

struct ParseCase
{
    const char* text;
    bool understood;
    double plain; // ignored when not understood: the value must then stay the current one
};

struct Kind
{
    const char* name;
    std::function<std::unique_ptr<Parameter>()> make;
    std::vector<TextCase> texts;
    std::vector<ParseCase> parses;
};

const std::vector<Kind>& kinds()
{
    static const std::vector<Kind> table = {
        { "percent, 1 decimal",
          [] { return std::make_unique<Parameter> ("slopeParam", "Slope", "%", 0.0, 100.0, 100.0, 1); },
          { { 75.0, "75.0", "75.0 %" },
            { 0.0, "0.0", "0.0 %" },
            { 100.0, "100.0", "100.0 %" },
            { 12.34, "12.3", "12.3 %" },
            { 99.96, "100.0", "100.0 %" } },
          { { "75.0 %", true, 75.0 },
            { "12,5", true, 12.5 },
            { "150", true, 100.0 },
            { "-3", true, 0.0 },
            { "  42", true, 42.0 },
            { "1e1", true, 10.0 },
            { "0x10", true, 16.0 },
            { "inf", true, 100.0 },
            { "abc", false, 0.0 },
            { "", false, 0.0 },
            { "nan", false, 0.0 },
            { "+-5", false, 0.0 } } },
        { "percent, 0 decimals",
          [] { return std::make_unique<Parameter> ("mixParam", "Mix", "%", 0.0, 100.0, 100.0, 0); },
          { { 75.0, "75", "75 %" }, { 74.5, "75", "75 %" }, { 74.49, "74", "74 %" } },
          { { "74.6", true, 74.6 } } },
        { "three special texts",
          [] { return std::make_unique<Parameter> ("gain", "Gain", "dB", 0.0, 10.0, 5.0, 1, "Low|Mid|High"); },
          { { 0.0, "Low", "Low" }, { -1.0, "Low", "Low" }, { 10.0, "High", "High" }, { 5.0, "Mid", "Mid dB" }, { 5.5, "5.5", "5.5 dB" } },
          { { "mid", true, 5.0 }, { "HIGH", true, 10.0 }, { "low", true, 0.0 }, { "7,5", true, 7.5 }, { "Lowish", false, 0.0 } } },
        { "bypass switch",
          [] { return std::make_unique<BooleanParameter>(); },
          { { 0.0, "Off", "Off" }, { 0.49, "Off", "Off" }, { 0.5, "On", "On" }, { 1.0, "On", "On" } },
          { { "on", true, 1.0 },
            { "ON", true, 1.0 },
            { "oN", true, 1.0 },
            { "off", true, 0.0 },
            { "OFF", true, 0.0 },
            { "0.7", true, 0.7 },
            { "2", true, 1.0 },
            { "maybe", false, 0.0 } } },
        { "slider mode",
          [] { return std::make_unique<DiscreteParameter> ("sliderMode", 0, 1, 0, "velocity|linear"); },
          { { 0.0, "velocity", "velocity" }, { 0.4, "velocity", "velocity" }, { 0.5, "linear", "linear" }, { 1.0, "linear", "linear" } },
          { { "linear", true, 1.0 },
            { "LINEAR", true, 1.0 },
            { "Velocity", true, 0.0 },
            { "7", true, 1.0 },
            { "-2", true, 0.0 },
            { "0,7", true, 0.0 }, // no decimal comma for discrete values
            { "fast", false, 0.0 } } },
        { "named values beyond the names",
          [] { return std::make_unique<DiscreteParameter> ("mode", 0, 3, 0, "a|b"); },
          { { 1.0, "b", "b" }, { 2.0, "", "" }, { 3.0, "", "" } },
          { { "B", true, 1.0 }, { "3", true, 3.0 } } },
        { "mouse sensitivity",
          [] { return std::make_unique<DiscreteParameter> ("mouseSensitivity", 1, 200, 100); },
          { { 100.0, "100", "100" }, { 149.6, "150", "150" }, { 1.0, "1", "1" }, { 200.0, "200", "200" } },
          { { "150", true, 150.0 }, { "250", true, 200.0 }, { "0", true, 1.0 }, { "12,5", true, 12.0 }, { "abc", false, 0.0 } } },
        { "frequency",
          [] { return std::make_unique<FrequencyParameter> (20000.0, 25000.0, 21000.0); },
          { { 21000.0, "21000.0", "21.0 kHz" },
            { 20000.0, "20000.0", "20.0 kHz" },
            { 25000.0, "25000.0", "25.0 kHz" },
            { 22360.68, "22360.7", "22.4 kHz" },
            { 21049.99, "21050.0", "21.0 kHz" } },
          { { "21.5", true, 21500.0 },
            { "21,5", true, 21500.0 },
            { "21.5k", true, 21500.0 },
            { "21.5 kHz", true, 21500.0 },
            { "22 KHZ", true, 22000.0 },
            { "21500", true, 21500.0 },
            { "30", true, 20000.0 }, // 30 kHz is out of range, so 30 Hz, clamped
            { "30k", true, 25000.0 },
            { "24.9", true, 24900.0 },
            { "19000", true, 20000.0 },
            { "abc", false, 0.0 } } },
        { "frequency, audio range",
          [] { return std::make_unique<FrequencyParameter> (20.0, 20000.0, 1000.0); },
          { { 2500.0, "2500.0", "2500 Hz" }, { 2500.4, "2500.4", "2.5 kHz" }, { 99.5, "99.5", "100 Hz" } },
          { { "2.5", true, 2500.0 }, { "440", true, 440.0 }, { "440 Hz", true, 440.0 } } },
    };
    return table;
}

} // namespace

TEST (ParameterText, TextsWithAndWithoutUnit)
{
    for (const auto& kind : kinds())
    {
        const auto parameter = kind.make();
        for (const auto& c : kind.texts)
        {
            EXPECT_EQ (parameter->textForPlain (c.plain), c.text) << kind.name << " at " << c.plain;
            EXPECT_EQ (parameter->textWithUnitForPlain (c.plain), c.withUnit) << kind.name << " at " << c.plain;
        }
    }
}

TEST (ParameterText, Parsing)
{
    for (const auto& kind : kinds())
    {
        const auto parameter = kind.make();
        parameter->setNormalised (0.25f);
        const double current = parameter->getRawValue();
        for (const auto& c : kind.parses)
        {
            double plain = -12345.0;
            EXPECT_EQ (parameter->parsePlain (c.text, plain), c.understood) << kind.name << ": \"" << c.text << "\"";
            EXPECT_DOUBLE_EQ (plain, c.understood ? c.plain : current) << kind.name << ": \"" << c.text << "\"";

            float normalised = -1.0f;
            EXPECT_EQ (parameter->parseNormalised (c.text, normalised), c.understood) << kind.name << ": \"" << c.text << "\"";
            EXPECT_EQ (normalised, parameter->plainToNormalised (plain)) << kind.name << ": \"" << c.text << "\"";
        }
        EXPECT_DOUBLE_EQ (parameter->getRawValue(), current) << kind.name << ": parsing never sets the value";
    }
}

TEST (ParameterText, CurrentValueTexts)
{
    Parameter slope ("slopeParam", "Slope", "%", 0.0, 100.0, 100.0, 1);
    slope.setNormalised (0.75f);
    EXPECT_EQ (slope.getText(), "75.0");
    EXPECT_EQ (slope.getTextWithUnit(), "75.0 %");
    EXPECT_EQ (slope.textWithUnitForNormalised (0.125f), "12.5 %");

    FrequencyParameter frequency (20000.0, 25000.0, 21000.0);
    EXPECT_EQ (frequency.getText(), "21000.0");
    EXPECT_EQ (frequency.getTextWithUnit(), "21.0 kHz");
    EXPECT_EQ (frequency.textForNormalised (1.0f), "25000.0");
}

// A host may switch the process to a locale whose decimal separator is a comma; texts and
// parsing must stay as in the "C" locale.
TEST (ParameterText, IndependentOfTheProcessLocale)
{
    const std::string previous = std::setlocale (LC_ALL, nullptr);
    const char* commaLocale = nullptr;
    for (const char* candidate : { "de_DE.UTF-8", "de_DE.utf8", "de_DE", "fr_FR.UTF-8", "fr_FR.utf8", "German_Germany.1252" })
        if (std::setlocale (LC_ALL, candidate) != nullptr && std::string (std::localeconv()->decimal_point) == ",")
        {
            commaLocale = candidate;
            break;
        }
    if (commaLocale == nullptr)
    {
        std::setlocale (LC_ALL, previous.c_str());
        GTEST_SKIP() << "no locale with a decimal comma is installed";
    }

    FrequencyParameter frequency (20000.0, 25000.0, 21000.0);
    Parameter slope ("slopeParam", "Slope", "%", 0.0, 100.0, 100.0, 1);
    double plain = 0.0;
    EXPECT_EQ (frequency.textWithUnitForPlain (21500.0), "21.5 kHz") << commaLocale;
    EXPECT_EQ (slope.textForPlain (12.5), "12.5") << commaLocale;
    EXPECT_TRUE (frequency.parsePlain ("21.5", plain));
    EXPECT_EQ (plain, 21500.0) << commaLocale;
    EXPECT_TRUE (slope.parsePlain ("12.5 %", plain));
    EXPECT_EQ (plain, 12.5) << commaLocale;

    std::setlocale (LC_ALL, previous.c_str());
}
