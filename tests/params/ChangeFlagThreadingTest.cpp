#include "params/FrequencyParameter.h"
#include "params/Parameter.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

using namespace brevalon;

// Several writers set values while two consumers (the audio side and the editor) test and clear
// their own flag and read the value. Once the writers have finished, each consumer's next look
// must leave it holding the last value: a change marked between a consumer's test and its clear,
// or a clear that wipes the other consumer's bit, would leave it with an older one. Races are
// found by chance, so the test runs many short rounds; under ThreadSanitizer it also shows that
// reading the value while it is written is free of data races.
TEST (ChangeFlagThreading, NoConsumerLosesAChange)
{
    constexpr int rounds = 300;
    constexpr int writers = 3;
    constexpr int writesPerWriter = 40;
    constexpr float totalWrites = rounds * writers * writesPerWriter;
    const std::uint32_t consumerBits[] = { Parameter::audioFlag, Parameter::editorFlag };

    FrequencyParameter parameter (20000.0, 25000.0, 21000.0);
    int lostChanges = 0;

    for (int round = 0; round < rounds; ++round)
    {
        std::atomic<bool> writing{ true };
        std::atomic<int> writersLeft{ writers };
        float seen[2] = { -1.0f, -1.0f };
        std::vector<std::thread> threads;

        for (int c = 0; c < 2; ++c)
            threads.emplace_back (
                [&, c]
                {
                    while (writing.load())
                        if (parameter.testAndClearChangeFlags (consumerBits[c]))
                        {
                            seen[c] = parameter.getNormalised();
                            parameter.getValue(); // the plain value, as processing reads it
                        }
                });

        for (int w = 0; w < writers; ++w)
            threads.emplace_back (
                [&, w]
                {
                    for (int i = 0; i < writesPerWriter; ++i)
                        parameter.setNormalised (static_cast<float> ((round * writers + w) * writesPerWriter + i) / totalWrites);
                    if (--writersLeft == 0)
                        writing.store (false);
                });

        for (auto& thread : threads)
            thread.join();

        const float last = parameter.getNormalised();
        for (int c = 0; c < 2; ++c)
        {
            if (parameter.testAndClearChangeFlags (consumerBits[c]))
                seen[c] = parameter.getNormalised();
            if (seen[c] != last)
                ++lostChanges;
        }
    }

    EXPECT_EQ (lostChanges, 0);
}
