#include "controls/SharedTypefaces.h"
#include "processor/QuillfenTemplateAudioProcessor.h"

#include <gtest/gtest.h>

namespace brevalon
{
namespace
{

TEST (SharedTypefaces, AreVerdanaOrTheBuiltInDejaVuPair)
{
    const bool systemHasVerdana = juce::Font::findAllTypefaceNames().contains ("Verdana");
    const auto regular = SharedTypefaces::getRegularTypeface();
    const auto bold = SharedTypefaces::getBoldTypeface();
    ASSERT_NE (regular, nullptr);
    ASSERT_NE (bold, nullptr);
    EXPECT_EQ (regular->getName(), systemHasVerdana ? "Verdana" : "DejaVu Sans");
    EXPECT_EQ (bold->getName(), regular->getName());
    EXPECT_EQ (regular->getStyle(), systemHasVerdana ? "Regular" : "Book");
    EXPECT_EQ (bold->getStyle(), "Bold");
    EXPECT_GT (SharedTypefaces::getBoldFont (13.0f).getStringWidthFloat ("Frequency response"),
               SharedTypefaces::getRegularFont (13.0f).getStringWidthFloat ("Frequency response"));
    EXPECT_EQ (SharedTypefaces::getRegularFont (12.0f).getHeight(), 12.0f);
}

TEST (SharedTypefaces, ADestroyedProcessorReleasesThemAndTheNextUseCreatesThemAgain)
{
    const auto before = SharedTypefaces::getRegularTypeface();
    ASSERT_TRUE (SharedTypefaces::areCreated());
    {
        QuillfenTemplateAudioProcessor processor (SharedFolder(), QuillfenTemplateAudioProcessor::Settings::inMemory);
    }
    EXPECT_FALSE (SharedTypefaces::areCreated());
    EXPECT_GT (SharedTypefaces::getRegularFont (13.0f).getStringWidthFloat ("dB"), 0.0f) << "a font made before stays usable";
    EXPECT_NE (SharedTypefaces::getRegularTypeface(), before) << "created anew";
    EXPECT_TRUE (SharedTypefaces::areCreated());
}

} // namespace
} // namespace brevalon
