// --print-taps and --export-ir against the filter design they must reproduce.

#include "app/FilterTaps.h"
#include "RenderTestSupport.h"

#include "processor/dsp/FirDesign.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

using namespace brevalon::test;

namespace
{

// Rates, corners and slopes whose plain values the plug-in uses exactly as given.
const struct
{
    double rate, frequency, slopePercent;
} designCases[] = {
    { 96000, 21000, 75 },   { 192000, 21000, 75 },   { 88200, 20000, 0 },
    { 384000, 25000, 100 }, { 176400, 22500.5, 50 }, { 352800, 24000, 25 },
};

juce::StringArray designArguments (double rate, double frequency, double slopePercent)
{
    return { "--rate", juce::String (rate, 0), "--frequency", juce::String (frequency, 1), "--slope", juce::String (slopePercent, 0) };
}

double parseDouble (const juce::String& text)
{
    char* end = nullptr;
    const double value = std::strtod (text.toRawUTF8(), &end);
    EXPECT_EQ (*end, '\0') << text;
    return value;
}

} // namespace

TEST (RenderFilterTaps, PrintTapsMatchesTheDesign)
{
    for (const auto& c : designCases)
    {
        SCOPED_TRACE (testing::Message() << c.rate << " Hz, " << c.frequency << " Hz, slope " << c.slopePercent);
        const auto design = brevalon::designLowpass (c.frequency, c.slopePercent / 100.0, c.rate);

        auto arguments = designArguments (c.rate, c.frequency, c.slopePercent);
        arguments.add ("--print-taps");
        const auto run = runRenderer (arguments);
        ASSERT_EQ (run.exitCode, 0) << run.output;

        const auto lines = juce::StringArray::fromLines (run.output.trimEnd());
        ASSERT_EQ (lines.size(), 3 + design.count);
        EXPECT_EQ (lines[0].getIntValue(), design.nominalLength);
        EXPECT_EQ (lines[1].getIntValue(), design.count);
        EXPECT_EQ (lines[2].getIntValue(), design.readOffset);
        // 17 significant digits give every double back exactly.
        for (int i = 0; i < design.count; ++i)
            EXPECT_EQ (parseDouble (lines[3 + i]), design.coefficients[(size_t)i]) << "tap " << i;
    }
}

// The exported file is a RIFF/WAVE with an IEEE-float (format 3) fmt chunk of 18 bytes, a fact
// chunk and the taps as little-endian 64-bit floats, laid out here byte by byte.
TEST (RenderFilterTaps, ExportIrWritesTheTapsAsFloat64Wave)
{
    TemporaryFolder folder;
    for (const auto& c : designCases)
    {
        SCOPED_TRACE (testing::Message() << c.rate << " Hz, " << c.frequency << " Hz, slope " << c.slopePercent);
        const auto design = brevalon::designLowpass (c.frequency, c.slopePercent / 100.0, c.rate);
        const auto file = folder.file ("ir.wav");

        auto arguments = designArguments (c.rate, c.frequency, c.slopePercent);
        arguments.addArray ({ "--export-ir", file.getFullPathName(), "--quiet" });
        const auto run = runRenderer (arguments);
        ASSERT_EQ (run.exitCode, 0) << run.output;
        EXPECT_TRUE (run.output.isEmpty()) << run.output;

        juce::MemoryBlock bytes;
        ASSERT_TRUE (file.loadFileAsData (bytes));
        const auto dataBytes = static_cast<size_t> (design.count) * 8;
        ASSERT_EQ (bytes.getSize(), 12 + 26 + 12 + 8 + dataBytes);
        juce::MemoryInputStream in (bytes, false);
        const auto tag = [&in]
        {
            char text[5] = {};
            in.read (text, 4);
            return std::string (text);
        };
        EXPECT_EQ (tag(), "RIFF");
        EXPECT_EQ (in.readInt(), static_cast<int> (bytes.getSize() - 8));
        EXPECT_EQ (tag(), "WAVE");
        EXPECT_EQ (tag(), "fmt ");
        EXPECT_EQ (in.readInt(), 18);
        EXPECT_EQ (in.readShort(), 3);
        EXPECT_EQ (in.readShort(), 1);
        EXPECT_EQ (in.readInt(), static_cast<int> (c.rate));
        EXPECT_EQ (in.readInt(), static_cast<int> (c.rate) * 8);
        EXPECT_EQ (in.readShort(), 8);
        EXPECT_EQ (in.readShort(), 64);
        EXPECT_EQ (in.readShort(), 0);
        EXPECT_EQ (tag(), "fact");
        EXPECT_EQ (in.readInt(), 4);
        EXPECT_EQ (in.readInt(), design.count);
        EXPECT_EQ (tag(), "data");
        EXPECT_EQ (in.readInt(), static_cast<int> (dataBytes));
        for (int i = 0; i < design.count; ++i)
            EXPECT_EQ (in.readDouble(), design.coefficients[(size_t)i]) << "tap " << i;
        EXPECT_EQ (folder.contents(), juce::StringArray ("ir.wav")) << "no temporary file left";
    }
}

// --export-ir writes WAV whatever the name, so a name with another format's extension is refused
// as a render's output would be, and nothing is written; names of no audio format are kept.
TEST (RenderFilterTaps, ExportIrRefusesTheExtensionOfAnotherFormat)
{
    const struct
    {
        const char* name;
        int exitCode;
        const char* messagePart;
    } cases[] = {
        { "ir.aiff", 2, "ir.aiff: the extension is AIFF's but the output format is WAV" },
        { "ir.AIF", 2, "ir.AIF: the extension is AIFF's" },
        { "ir.flac", 2, "ir.flac: the extension is FLAC's" },
        { "ir.wav", 0, "" },
        { "ir.WAV", 0, "" },
        { "ir.taps", 0, "" },
        { "ir", 0, "" },
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.name);
        TemporaryFolder folder;
        brevalon::app::Console console (true);
        const auto status = brevalon::app::exportImpulseResponse (folder.file (c.name).getFullPathName(), {}, 96000.0, console);
        EXPECT_EQ (status.exitCode, c.exitCode) << status.message;
        EXPECT_TRUE (status.message.contains (c.messagePart)) << status.message;
        EXPECT_EQ (folder.contents(), c.exitCode == 0 ? juce::StringArray (c.name) : juce::StringArray());
    }
}
