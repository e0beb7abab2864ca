#include "resources/NamedResources.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include "tests/support/SamePixels.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <set>
#include <string>
#include <vector>

using namespace brevalon;

namespace
{

std::vector<std::string> triplet (const std::string& stem)
{
    return { stem + "_png", stem + "_s2_png", stem + "_s3_png" };
}

// Every embedded image with its pixel size; the editor's layout depends on these.
const struct ImageGroup
{
    std::vector<std::string> names;
    int width, height;
} imageGroups[] = {
    { triplet ("undo"), 24, 22 },
    { triplet ("redo"), 24, 22 },
    { triplet ("help"), 24, 22 },
    { triplet ("info"), 24, 22 },
    { triplet ("settings"), 24, 22 },
    { triplet ("prev"), 24, 11 },
    { triplet ("next"), 24, 11 },
    { triplet ("ab"), 36, 22 },
    { triplet ("ba"), 36, 22 },
    { triplet ("acopyb"), 36, 22 },
    { triplet ("bcopya"), 36, 22 },
    { triplet ("button"), 102, 22 },
    { { "button_up_png", "button_over_png", "button_down_png" }, 83, 26 },
    { { "checkbox_png" }, 32, 16 },
    { { "LED_blue_png", "LED_green_png", "LED_orange_png", "LED_red_png", "LED_white_png" }, 23, 46 },
    { { "knobmid_png" }, 70, 10500 },
    { { "knobsmall_png" }, 50, 7500 },
    { { "display_background_png" }, 50, 18 },
    { { "touch_display_background_png" }, 55, 21 },
    { { "touch_display_wide_background_png" }, 84, 21 },
    { { "window_background_png" }, 61, 93 },
    { { "logo_png" }, 40, 35 },
    { { "background_png" }, 406, 214 },
    { { "bypass_button_up_png", "bypass_button_down_png" }, 54, 40 },
};

struct PngHeader
{
    int width = 0, height = 0, bitDepth = 0, colourType = -1;
};

// The size, bit depth and colour type from the PNG file's header chunk.
PngHeader readPngHeader (const std::string& name)
{
    int size = 0;
    const auto* data = reinterpret_cast<const std::uint8_t*> (resources::getNamedResource (name.c_str(), size));
    static const std::uint8_t signature[] = { 0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n' };
    if (data == nullptr || size < 33 || std::memcmp (data, signature, 8) != 0 || std::memcmp (data + 12, "IHDR", 4) != 0)
        return {};
    const auto bigEndian = [data] (int offset)
    {
        return (int)((std::uint32_t)data[offset] << 24 | (std::uint32_t)data[offset + 1] << 16 | (std::uint32_t)data[offset + 2] << 8 |
                     data[offset + 3]);
    };
    return { bigEndian (16), bigEndian (20), data[24], data[25] };
}

juce::Image decode (const std::string& name)
{
    int size = 0;
    const char* data = resources::getNamedResource (name.c_str(), size);
    return juce::ImageCache::getFromMemory (data, size);
}

constexpr int pngRgb = 2, pngRgba = 6;

class EmbeddedImages : public ::testing::Test
{
protected:
    // The image cache expires its entries on a timer of the message thread.
    juce::ScopedJuceInitialiser_GUI juce;
};

} // namespace

TEST_F (EmbeddedImages, EveryImageOfTheTableIsListedOnce)
{
    std::multiset<std::string> listed;
    for (const auto& group : imageGroups)
        listed.insert (group.names.begin(), group.names.end());
    std::multiset<std::string> inTable;
    for (const char* name : resources::getNamedResourceNames())
        if (juce::String (name).endsWith ("_png"))
            inTable.insert (name);
    EXPECT_EQ (listed, inTable);
    EXPECT_EQ (listed.size(), 55u);
}

TEST_F (EmbeddedImages, SizeAndColourTypeOfEveryImage)
{
    for (const auto& group : imageGroups)
        for (const auto& name : group.names)
        {
            SCOPED_TRACE (name);
            const bool opaque = name == "background_png";
            const auto header = readPngHeader (name);
            EXPECT_EQ (header.width, group.width);
            EXPECT_EQ (header.height, group.height);
            EXPECT_EQ (header.bitDepth, 8);
            EXPECT_EQ (header.colourType, opaque ? pngRgb : pngRgba);

            const auto image = decode (name);
            ASSERT_TRUE (image.isValid());
            EXPECT_EQ (image.getBounds(), juce::Rectangle<int> (group.width, group.height));
            EXPECT_EQ (image.getFormat(), opaque ? juce::Image::RGB : juce::Image::ARGB);
        }
}

TEST_F (EmbeddedImages, TheCacheGivesTheSameDecodedImageTwice)
{
    for (const char* name : { "undo_png", "background_png", "knobmid_png", "window_background_png" })
    {
        const auto first = decode (name);
        const auto second = decode (name);
        ASSERT_TRUE (first.isValid()) << name;
        EXPECT_TRUE (first == second) << name;
    }
    int size = 123;
    EXPECT_FALSE (juce::ImageCache::getFromMemory (resources::getNamedResource ("infologo_png", size), size).isValid());
}

// The mouse-over and pressed images of a button must look different from its normal image and
// from each other, or a state would give no feedback.
TEST_F (EmbeddedImages, ButtonStatesDifferFromEachOther)
{
    const std::vector<std::vector<std::string>> stateSets = {
        triplet ("undo"),
        triplet ("redo"),
        triplet ("help"),
        triplet ("info"),
        triplet ("settings"),
        triplet ("prev"),
        triplet ("next"),
        triplet ("ab"),
        triplet ("ba"),
        triplet ("acopyb"),
        triplet ("bcopya"),
        triplet ("button"),
        { "button_up_png", "button_over_png", "button_down_png" },
        { "bypass_button_up_png", "bypass_button_down_png" },
    };
    for (const auto& states : stateSets)
        for (size_t i = 0; i < states.size(); ++i)
            for (size_t j = i + 1; j < states.size(); ++j)
                EXPECT_FALSE (test::samePixels (decode (states[i]), decode (states[j]))) << states[i] << " and " << states[j];
}

// Images holding two states side by side (the tick box: unticked left, ticked right) or one above
// the other (the lamps: unlit, lit) must show two different halves.
TEST_F (EmbeddedImages, TwoStateImagesHaveDifferentHalves)
{
    for (const char* name : { "checkbox_png", "LED_blue_png", "LED_green_png", "LED_orange_png", "LED_red_png", "LED_white_png" })
    {
        const auto image = decode (name);
        const bool sideBySide = image.getWidth() > image.getHeight();
        const auto first =
            sideBySide ? image.getBounds().withWidth (image.getWidth() / 2) : image.getBounds().withHeight (image.getHeight() / 2);
        const auto second = sideBySide ? first.withX (first.getRight()) : first.withY (first.getBottom());
        EXPECT_FALSE (test::samePixels (image.getClippedImage (first), image.getClippedImage (second))) << name;
    }
}

// The toolbar's image buttons take a click only where their image is not fully transparent, so
// every pixel of every state must carry some alpha.
TEST_F (EmbeddedImages, ToolbarButtonsAreClickableEverywhere)
{
    for (const char* stem : { "undo", "redo", "help", "info", "settings", "prev", "next", "ab", "ba", "acopyb", "bcopya" })
        for (const auto& name : triplet (stem))
        {
            const auto image = decode (name);
            int transparent = 0;
            for (int y = 0; y < image.getHeight(); ++y)
                for (int x = 0; x < image.getWidth(); ++x)
                    transparent += image.getPixelAt (x, y).getAlpha() == 0 ? 1 : 0;
            EXPECT_EQ (transparent, 0) << name;
        }
}

// Each strip stacks 150 square frames; the pointer moves from one frame to the next, and the
// knob stays inside its frame, leaving the corners clear.
TEST_F (EmbeddedImages, KnobStripsHold150DistinctSquareFrames)
{
    for (const char* name : { "knobmid_png", "knobsmall_png" })
    {
        SCOPED_TRACE (name);
        const auto strip = decode (name);
        const int frame = strip.getWidth();
        ASSERT_EQ (strip.getHeight() % frame, 0);
        ASSERT_EQ (strip.getHeight() / frame, 150);

        juce::Image previous;
        for (int k = 0; k < 150; ++k)
        {
            const auto current = strip.getClippedImage ({ 0, k * frame, frame, frame });
            for (const auto corner : { juce::Point<int> (0, 0), { frame - 1, 0 }, { 0, frame - 1 }, { frame - 1, frame - 1 } })
                EXPECT_EQ (current.getPixelAt (corner.x, corner.y).getAlpha(), 0) << "frame " << k;
            if (previous.isValid())
            {
                EXPECT_FALSE (test::samePixels (current, previous)) << "frame " << k << " repeats the one before";
            }
            previous = current;
        }
    }
}
