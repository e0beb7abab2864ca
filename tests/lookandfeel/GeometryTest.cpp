#include "lookandfeel/LookAndFeelContextMenu.h"
#include "lookandfeel/LookAndFeelCustom.h"
#include "lookandfeel/LookAndFeelOverlay.h"
#include "lookandfeel/LookAndFeelToolbar.h"

#include <gtest/gtest.h>

namespace brevalon
{
namespace
{

using lookandfeel::ButtonFace;
using Rect = juce::Rectangle<int>;

TEST (KnobFrame, LeavesTheFirstFrameJustAboveTheMinimumAndReachesTheLastOnlyAtTheMaximum)
{
    struct Case
    {
        double value, minimum, maximum;
        int frame;
    };
    const Case cases[] = {
        { 0.0, 0.0, 1.0, 0 },
        { 1.0e-9, 0.0, 1.0, 1 },
        { 0.5, 0.0, 1.0, 75 }, // 149 x 0.5 = 74.5, rounded up
        { 0.999999, 0.0, 1.0, 149 },
        { 1.0, 0.0, 1.0, 149 },
        { 20000.0, 20000.0, 25000.0, 0 }, // a range away from zero
        { 20000.01, 20000.0, 25000.0, 1 },
        { 25000.0, 20000.0, 25000.0, 149 },
        { -1.0, 0.0, 1.0, 0 }, // out of range stays on the strip
        { 2.0, 0.0, 1.0, 149 },
    };
    for (const auto& c : cases)
        EXPECT_EQ (LookAndFeelCustom::getKnobFrameIndex (c.value, c.minimum, c.maximum), c.frame)
            << c.value << " in " << c.minimum << ".." << c.maximum;
}

TEST (KnobFrame, AnEmptyRangeShowsTheFirstFrame)
{
    EXPECT_EQ (LookAndFeelCustom::getKnobFrameIndex (3.0, 3.0, 3.0), 0);
}

struct SliceCase
{
    int imageWidth, imageHeight, width, height;
    std::array<Rect, 3> sources, destinations;
};

void expectSlices (const std::array<lookandfeel::ImageSlice, 3>& slices, const SliceCase& c)
{
    for (size_t i = 0; i < 3; ++i)
    {
        EXPECT_EQ (slices[i].source, c.sources[i]) << "slice " << i << " at width " << c.width;
        EXPECT_EQ (slices[i].destination, c.destinations[i]) << "slice " << i << " at width " << c.width;
    }
}

TEST (ThreeSlice, ValueBoxKeepsTenColumnCapsAndStretchesOneColumn)
{
    const SliceCase cases[] = {
        { 55,
          21,
          50,
          20,
          { Rect (0, 0, 10, 21), Rect (10, 0, 1, 21), Rect (45, 0, 10, 21) },
          { Rect (0, 0, 10, 20), Rect (10, 0, 30, 20), Rect (40, 0, 10, 20) } },
        { 55,
          21,
          55,
          21,
          { Rect (0, 0, 10, 21), Rect (10, 0, 1, 21), Rect (45, 0, 10, 21) },
          { Rect (0, 0, 10, 21), Rect (10, 0, 35, 21), Rect (45, 0, 10, 21) } },
        { 55,
          21,
          120,
          40,
          { Rect (0, 0, 10, 21), Rect (10, 0, 1, 21), Rect (45, 0, 10, 21) },
          { Rect (0, 0, 10, 40), Rect (10, 0, 100, 40), Rect (110, 0, 10, 40) } },
    };
    for (const auto& c : cases)
        expectSlices (LookAndFeelCustom::getValueBoxSlices (c.imageWidth, c.imageHeight, c.width, c.height), c);
}

TEST (ThreeSlice, ButtonFaceKeepsSixColumnCaps)
{
    const SliceCase cases[] = {
        { 83,
          26,
          83,
          26,
          { Rect (0, 0, 6, 26), Rect (6, 0, 1, 26), Rect (77, 0, 6, 26) },
          { Rect (0, 0, 6, 26), Rect (6, 0, 71, 26), Rect (77, 0, 6, 26) } },
        { 83,
          26,
          40,
          22,
          { Rect (0, 0, 6, 26), Rect (6, 0, 1, 26), Rect (77, 0, 6, 26) },
          { Rect (0, 0, 6, 22), Rect (6, 0, 28, 22), Rect (34, 0, 6, 22) } },
        { 102,
          22,
          230,
          22,
          { Rect (0, 0, 6, 22), Rect (6, 0, 1, 22), Rect (96, 0, 6, 22) },
          { Rect (0, 0, 6, 22), Rect (6, 0, 218, 22), Rect (224, 0, 6, 22) } },
    };
    for (const auto& c : cases)
        expectSlices (LookAndFeelOverlay::getButtonFaceSlices (c.imageWidth, c.imageHeight, c.width, c.height), c);
}

TEST (ButtonFace, PressedWinsOverMouseOver)
{
    struct Case
    {
        bool over, down;
        ButtonFace face;
    };
    const Case cases[] = {
        { false, false, ButtonFace::normal },
        { true, false, ButtonFace::over },
        { true, true, ButtonFace::pressed },
        { false, true, ButtonFace::pressed },
    };
    for (const auto& c : cases)
        EXPECT_EQ (LookAndFeelOverlay::getButtonFace (c.over, c.down), c.face) << c.over << c.down;
}

TEST (ButtonFace, ComboBoxesNeverShowTheMouseOverFaceAndThePresetBoxNeverChanges)
{
    for (const bool down : { false, true })
    {
        EXPECT_EQ (LookAndFeelOverlay::getComboBoxFace (down), down ? ButtonFace::pressed : ButtonFace::normal);
        EXPECT_EQ (LookAndFeelContextMenu::getComboBoxFace (down), ButtonFace::normal);
        EXPECT_EQ (LookAndFeelToolbar::getComboBoxFace (down), ButtonFace::normal);
    }
}

} // namespace
} // namespace brevalon
