#include <juce_core/juce_core.h>

#include <gtest/gtest.h>

#include <cstdlib>

// Points the user's application-data directory at a fresh temporary folder before any test can
// read it, so no test (nor any program a test starts) touches the real shared folder.
int main (int argc, char** argv)
{
    // A unique name: ctest runs several test processes at once.
    const auto configHome =
        juce::File::getSpecialLocation (juce::File::tempDirectory).getChildFile ("brevalon-test-config-" + juce::Uuid().toString());
    configHome.createDirectory();
    setenv ("XDG_CONFIG_HOME", configHome.getFullPathName().toRawUTF8(), 1);

    testing::InitGoogleTest (&argc, argv);
    const int result = RUN_ALL_TESTS();

    configHome.deleteRecursively();
    return result;
}
