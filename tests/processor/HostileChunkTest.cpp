#include "processor/QuillfenTemplateAudioProcessor.h"
#include "tests/support/HostileXml.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

using namespace brevalon;

// The host chunk: a hostile one resets to the stored programs as any chunk without a document
// does; one at the depth limit still loads.
TEST (HostileChunk, IsIgnoredAndAtTheDepthLimitStillLoads)
{
    for (const auto& document : test::hostileDocuments())
    {
        SCOPED_TRACE (document.name);
        QuillfenTemplateAudioProcessor processor;
        processor.setHostParameter (0, 0.9f);

        const auto text = test::makeDocument (document, "<Brevalon freqParam=\"22000.0\"").toStdString();
        juce::MemoryOutputStream block;
        block.writeInt (0x21324356);
        block.writeInt (static_cast<int> (text.size() + 1));
        block.write (text.c_str(), text.size() + 1);
        processor.setStateInformation (block.getData(), static_cast<int> (block.getDataSize()));

        for (int i = 0; i < processor.getNumHostParameters(); ++i)
        {
            const float value = processor.getHostParameter (i);
            EXPECT_TRUE (std::isfinite (value) && value >= 0.0f && value <= 1.0f) << "parameter " << i << ": " << value;
        }
        const auto* frequency = processor.getParamManager().getParameterAt (0);
        EXPECT_EQ (frequency->getText(), document.verdict == XmlGuard::Verdict::accepted ? "22000.0" : "21000.0");
    }
}

// The chunk the fuzzer found: the length field ends the text inside an attribute value of 0xFF
// bytes, so the text is not UTF-8 and ends with a lead byte that steps over its terminator. The
// chunk is ignored like any rejected one.
TEST (HostileChunk, TextThatIsNotUtf8IsIgnored)
{
    const std::string text =
        "<Brevalon freqParam=\"22000.0\" slopeParam=\"50.0\" mixParam=\"80.0" + std::string (98, '\xff') + "\" bypassParam=\"Off\"/>";
    juce::MemoryOutputStream block;
    block.writeInt (0x21324356);
    block.writeInt (84);
    block.write (text.c_str(), text.size() + 1);

    QuillfenTemplateAudioProcessor processor;
    processor.setStateInformation (block.getData(), static_cast<int> (block.getDataSize()));
    EXPECT_EQ (processor.getParamManager().getParameterAt (0)->getText(), "21000.0");
    EXPECT_EQ (processor.getParamManager().getParameterAt (2)->getText(), "100.0");
}
