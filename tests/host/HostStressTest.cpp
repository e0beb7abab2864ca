#include "HostedPlugin.h"

#include <cmath>

using namespace brevalon::host;

// 50 instances, one after the other and in turn in each format, each created, prepared at a
// random rate (44.1 to 384 kHz) and maximum block size (1 to 8192), run over noise in blocks of
// random sizes up to that maximum, released and destroyed: no crash, and every output sample is
// finite. The random sequence is fixed, so a failure repeats. tools/asan-stress.sh runs this test
// under AddressSanitizer.
TEST (HostStress, FiftyCyclesAtRandomRatesAndBlockSizes)
{
    juce::Random random (20240611);
    const auto& formats = allFormats();

    for (int cycle = 0; cycle < 50; ++cycle)
    {
        const auto format = formats[(size_t)cycle % formats.size()];
        const double rate = 44100.0 + random.nextInt (384000 - 44100 + 1);
        const int maximumBlock = 1 + random.nextInt (8192);
        SCOPED_TRACE (testing::Message() << "cycle " << cycle << ", " << format << ", " << rate << " Hz, blocks up to " << maximumBlock);

        auto hosted = load (format, rate, maximumBlock);
        ASSERT_NE (hosted.instance, nullptr);
        auto& instance = *hosted.instance;
        instance.prepareToPlay (rate, maximumBlock);

        // At least four blocks, and at least 8192 samples.
        const int numSamples = juce::jmax (4 * maximumBlock, 8192);
        auto buffer = makeNoise (2, numSamples, static_cast<unsigned> (cycle), 1.0f);
        processInRandomBlocks (instance, buffer, maximumBlock, random);

        for (int channel = 0; channel < 2; ++channel)
            for (int i = 0; i < numSamples; ++i)
                ASSERT_TRUE (std::isfinite (buffer.getSample (channel, i))) << channel << " " << i;

        instance.releaseResources();
    }
}
