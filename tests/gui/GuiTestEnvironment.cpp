#include <juce_gui_basics/juce_gui_basics.h>

#include <gtest/gtest.h>

#include <memory>

namespace
{
// The message manager and desktop for every GUI test, on the test thread.
class GuiTestEnvironment : public testing::Environment
{
public:
    void SetUp() override { initialiser = std::make_unique<juce::ScopedJuceInitialiser_GUI>(); }
    void TearDown() override { initialiser.reset(); }

private:
    std::unique_ptr<juce::ScopedJuceInitialiser_GUI> initialiser;
};

[[maybe_unused]] testing::Environment* const environment = testing::AddGlobalTestEnvironment (new GuiTestEnvironment);
} // namespace
