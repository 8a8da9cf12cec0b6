#include "qxsdk/ui/core/dpi_scale.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace {

using namespace qxsdk::ui;

TEST(MulDiv, RoundsHalvesAwayFromZeroLikeThePlatform)
{
    struct case_row {
        std::int32_t a, b, c, expected;
    };
    const case_row rows[] = {
        {500, 144, 96, 750}, {360, 144, 96, 540}, {750, 96, 144, 500}, {3, 144, 96, 5},           {-3, 144, 96, -5},
        {1, 96, 144, 1},     {1, 1, 3, 0},        {7, 1, 0, 0},        {100000, 144, 96, 150000},
    };
    for (const case_row& row : rows) {
        EXPECT_EQ(mul_div(row.a, row.b, row.c), row.expected) << row.a << " * " << row.b << " / " << row.c;
    }
}

TEST(DpiScale, SizesConvertBothWaysAt144)
{
    const dpi_scale dpi{144, 144};
    EXPECT_EQ(dpi.width_to_pixels(500), 750);
    EXPECT_EQ(dpi.height_to_pixels(360), 540);
    EXPECT_EQ(dpi.width_to_units(750), 500);
    EXPECT_EQ(dpi.height_to_units(540), 360);
}

TEST(DpiScale, AreasRoundOutwardSoAPartialRepaintCoversTheWholeWidget)
{
    const dpi_scale dpi{144, 120};
    // A widget from x 1 to 4 covers pixels 1.5 to 6: pixel columns 1 to 5 (exclusive 6).
    EXPECT_EQ(dpi.area_to_pixels({1, 1, 4, 3}), (edges{1, 1, 6, 4}));
    // The platform's dirty pixels 1 to 5 touch units 0.67 to 3.33: units 0 to 4.
    EXPECT_EQ(dpi.area_to_units({1, 1, 5, 5}), (edges{0, 0, 4, 4}));
    // Negative edges round outward too.
    EXPECT_EQ(dpi.area_to_pixels({-1, -1, 0, 0}), (edges{-2, -2, 0, 0}));
    // At 96 DPI nothing changes.
    const dpi_scale plain{};
    EXPECT_EQ(plain.area_to_units({3, 4, 10, 20}), (edges{3, 4, 10, 20}));
    EXPECT_EQ(plain.area_to_pixels({3, 4, 10, 20}), (edges{3, 4, 10, 20}));
}

TEST(Edges, AreasThatOnlyShareAnEdgeTouch)
{
    const edges widget_area{10, 10, 20, 20};
    EXPECT_TRUE(touches(widget_area, {20, 10, 30, 20}));   // dirty area right of it, sharing x 20
    EXPECT_TRUE(touches(widget_area, {0, 0, 10, 10}));     // sharing the corner
    EXPECT_TRUE(touches(widget_area, {12, 12, 13, 13}));   // inside
    EXPECT_FALSE(touches(widget_area, {21, 10, 30, 20}));  // one unit apart
    EXPECT_FALSE(touches(widget_area, {10, 0, 20, 9}));
}

}  // namespace
