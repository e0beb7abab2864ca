#include "processor/QuillfenTemplateAudioProcessor.h"
#include "tests/support/HostileXml.h"

#include <gtest/gtest.h>

#include <cmath>

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
