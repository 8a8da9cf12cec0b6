#include "qxsdk/ui/core/scroll_geometry.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <limits>
#include <optional>

namespace {

using namespace qxsdk::ui;

constexpr int vertical = scroll_orientation::vertical;
constexpr int horizontal = scroll_orientation::horizontal;

TEST(ScrollBarLayout, ArrowsAreSquaresAsThickAsTheBarAndTheTrackLiesBetweenThem)
{
    struct case_row {
        int orientation;
        bool arrows;
        std::int32_t width, height;
        scroll_bar_boxes expected;
    };
    const case_row rows[] = {
        {vertical, true, 16, 200, {{0, 0, 16, 16}, {0, 184, 16, 16}, {0, 16, 16, 168}}},
        {vertical, false, 16, 200, {{}, {}, {0, 0, 16, 200}}},
        {horizontal, true, 200, 16, {{0, 0, 16, 16}, {184, 0, 16, 16}, {16, 0, 168, 16}}},
        {horizontal, false, 200, 16, {{}, {}, {0, 0, 200, 16}}},
        {2, true, 16, 200, {}},  // no such orientation: an inert bar
        {-1, false, 16, 200, {}},
    };
    for (const case_row& row : rows) {
        EXPECT_EQ(lay_out_scroll_bar(row.orientation, row.arrows, row.width, row.height), row.expected)
            << "orientation " << row.orientation << " arrows " << row.arrows;
    }
}

// A vertical bar 16 x 200 with arrows.
constexpr scroll_axis example_axis{200, 16, 16};

TEST(ThumbMetrics, FollowTheContentAndItsParent)
{
    struct case_row {
        scroll_axis axis;
        std::int32_t content, parent, position;
        thumb_metrics expected;
    };
    const case_row rows[] = {
        // Content 300 in a parent of 100: track 168, thumb 16, ratio 152 / 200.
        {example_axis, 300, 100, -100, {200, 100, 92, 16, 0.76f}},
        {example_axis, 300, 100, 0, {200, 0, 16, 16, 0.76f}},
        {example_axis, 300, 100, -200, {200, 200, 168, 16, 0.76f}},
        // A small overflow leaves a long thumb: 168 - 40.
        {example_axis, 140, 100, -40, {40, 40, 56, 128, 1.0f}},
        // No overflow: the thumb fills the track and cannot travel.
        {example_axis, 100, 100, 0, {0, 0, 16, 168, 0.0f}},
        {example_axis, 80, 100, 0, {0, 0, 16, 168, 0.0f}},
        // Without arrows the track is the whole bar.
        {{200, 0, 16}, 300, 100, -100, {200, 100, 92, 16, 0.92f}},
        // A bar too short for its arrows and thumb: no travel, the thumb stays at the track's start.
        {{48, 16, 16}, 300, 100, -100, {200, 100, 16, 16, 0.0f}},
        {{40, 16, 16}, 300, 100, -100, {200, 100, 16, 16, -0.04f}},
    };
    for (const case_row& row : rows) {
        const thumb_metrics thumb = measure_thumb(row.axis, row.content, row.parent, row.position);
        EXPECT_EQ(thumb.overflow, row.expected.overflow) << row.content << " in " << row.parent;
        EXPECT_EQ(thumb.offset, row.expected.offset);
        EXPECT_EQ(thumb.start, row.expected.start) << row.content << " in " << row.parent << " at " << row.position;
        EXPECT_EQ(thumb.length, row.expected.length);
        EXPECT_FLOAT_EQ(thumb.ratio, row.expected.ratio);
    }
}

TEST(ThumbMetrics, ContentScrolledPastItsEndIsToldApart)
{
    EXPECT_FALSE(scrolled_past_end(measure_thumb(example_axis, 300, 100, -200)));
    // The content shrank to 290 while scrolled to 200: its end is 10 above the parent's.
    EXPECT_TRUE(scrolled_past_end(measure_thumb(example_axis, 290, 100, -200)));
    // It shrank until it fits, while scrolled.
    EXPECT_TRUE(scrolled_past_end(measure_thumb(example_axis, 90, 100, -50)));
}

TEST(ScrollOffsets, SnapToTheStepTowardZero)
{
    struct case_row {
        std::int32_t offset, step, expected;
    };
    const case_row rows[] = {
        {37, 10, 30}, {40, 10, 40}, {9, 10, 0}, {0, 10, 0}, {-37, 10, -30}, {37, 0, 37}, {37, -5, 37},
    };
    for (const case_row& row : rows) {
        EXPECT_EQ(snap_offset(row.offset, row.step), row.expected) << row.offset << " step " << row.step;
    }
}

TEST(ScrollOffsets, ContentStaysWithinItsOverflowForEveryInput)
{
    constexpr std::int32_t big = std::numeric_limits<std::int32_t>::max();
    constexpr std::int32_t small = std::numeric_limits<std::int32_t>::min();
    const std::int32_t overflows[] = {0, 1, 200};
    const std::int32_t values[] = {small, -1000, -200, -1, 0, 1, 60, 199, 200, 201, 1000, big};
    for (const std::int32_t overflow : overflows) {
        for (const std::int32_t value : values) {
            const std::int32_t to = content_position_for(value, overflow);
            EXPECT_GE(to, -overflow) << value;
            EXPECT_LE(to, 0) << value;
            for (const std::int32_t position : {-overflow, 0}) {
                const std::int32_t by = content_position_moved_by(position, value, overflow);
                EXPECT_GE(by, -overflow) << position << " + " << value;
                EXPECT_LE(by, 0) << position << " + " << value;
            }
        }
    }
    EXPECT_EQ(content_position_for(100, 200), -100);
    EXPECT_EQ(content_position_moved_by(-100, 60, 200), -40);
    EXPECT_EQ(content_position_moved_by(-100, -60, 200), -160);
}

TEST(ScrollOffsets, DragsDivideTheTravelByTheRatioAndStopWhenTheThumbCannotTravel)
{
    struct case_row {
        std::int32_t travel;
        float ratio;
        std::optional<std::int32_t> expected;
    };
    const case_row rows[] = {
        {76, 0.76f, 100},
        {10, 0.76f, 13},
        {-10, 0.76f, -13},
        {0, 0.76f, 0},
        {50, 0.0f, std::nullopt},
        {50, -0.01f, std::nullopt},
        {50, std::numeric_limits<float>::quiet_NaN(), std::nullopt},
        {1000000, 1.0e-6f, 1000000000},  // held at a bound far beyond any content instead of overflowing
    };
    for (const case_row& row : rows) {
        EXPECT_EQ(drag_offset(row.travel, row.ratio), row.expected) << row.travel << " / " << row.ratio;
    }
}

TEST(ScrollOffsets, TrackPressesJumpOnlyBesideTheThumbAndOffTheArrows)
{
    const scroll_bar_boxes boxes = lay_out_scroll_bar(vertical, true, 16, 200);
    const thumb_metrics thumb = measure_thumb(example_axis, 300, 100, -100);  // thumb from 92 to 108
    struct case_row {
        std::int32_t press;
        std::optional<std::int32_t> expected;
    };
    const case_row rows[] = {
        {10, std::nullopt},  // on the first arrow
        {16, std::nullopt},  // its edge
        {17, 22},            // trunc(17 / 0.76)
        {50, 65},
        {91, 119},
        {92, std::nullopt},  // the thumb, edges included
        {108, std::nullopt},
        {109, 122},  // trunc((109 - 16) / 0.76)
        {150, 176},
        {183, 219},
        {184, std::nullopt},  // the second arrow
    };
    for (const case_row& row : rows) {
        EXPECT_EQ(track_press_offset(row.press, thumb, boxes, vertical, true), row.expected) << row.press;
    }
    // Without arrows the whole bar beside the thumb is track.
    const scroll_bar_boxes bare = lay_out_scroll_bar(vertical, false, 16, 200);
    EXPECT_EQ(track_press_offset(5, measure_thumb({200, 0, 16}, 300, 100, -100), bare, vertical, false), 5);
    // A thumb that cannot travel takes no jumps, rather than dividing by zero or scrolling backwards.
    for (const float ratio : {0.0f, -0.04f}) {
        const thumb_metrics stuck{200, 100, 16, 16, ratio};
        EXPECT_EQ(track_press_offset(8, stuck, bare, vertical, false), std::nullopt) << ratio;
        EXPECT_EQ(track_press_offset(100, stuck, bare, vertical, false), std::nullopt) << ratio;
    }
}

TEST(ScrollOffsets, AGrowingParentPullsAScrolledContentBackToMeetItsEnd)
{
    struct case_row {
        std::int32_t position, content, parent, expected;
    };
    const case_row rows[] = {
        {-150, 300, 200, -100},  // its end at 150 would leave 50 empty below
        {-150, 300, 400, 0},     // never past the beginning
        {-50, 300, 100, -50},    // still reaches the parent's end
        {0, 300, 400, 0},        // not scrolled: left alone
    };
    for (const case_row& row : rows) {
        EXPECT_EQ(content_position_after_parent_resize(row.position, row.content, row.parent), row.expected)
            << row.position << " " << row.content << " in " << row.parent;
    }
}

// Bars of real sizes, within 2^24 either way (the values printed by the 32-bit arithmetic these functions had
// before they took their sums in 64 bits): the results must stay the same to the bit.
TEST(RealScrollBars, BoxesThumbsAndPressesKeepTheirValues)
{
    struct bar_row {
        int orientation;
        bool arrows;
        std::int32_t width, height;
        scroll_bar_boxes expected;
    };
    const bar_row bar_rows[] = {
        {0, false, 20, -16777216, {{0, 0, 0, 0}, {0, 0, 0, 0}, {0, 0, 20, -16777216}}},
        {1, false, 5, -9000001, {{0, 0, 0, 0}, {0, 0, 0, 0}, {0, 0, 5, -9000001}}},
        {2, false, -300, 16777216, {{0, 0, 0, 0}, {0, 0, 0, 0}, {0, 0, 0, 0}}},
        {0, true, 120, 120, {{0, 0, 120, 120}, {0, 0, 120, 120}, {0, 120, 120, -120}}},
        {1,
         true,
         0,
         -16777215,
         {{0, 0, -16777215, -16777215}, {16777215, 0, -16777215, -16777215}, {-16777215, 0, 33554430, -16777215}}},
        {2, true, 1, 5, {{0, 0, 0, 0}, {0, 0, 0, 0}, {0, 0, 0, 0}}},
        {0, false, 60, 17, {{0, 0, 0, 0}, {0, 0, 0, 0}, {0, 0, 60, 17}}},
        {1, false, 0, 5, {{0, 0, 0, 0}, {0, 0, 0, 0}, {0, 0, 0, 5}}},
        {2, false, -9000001, 17, {{0, 0, 0, 0}, {0, 0, 0, 0}, {0, 0, 0, 0}}},
        {0,
         true,
         16777216,
         16,
         {{0, 0, 16777216, 16777216}, {0, -16777200, 16777216, 16777216}, {0, 16777216, 16777216, -33554416}}},
        {1, true, 20, 120, {{0, 0, 120, 120}, {-100, 0, 120, 120}, {120, 0, -220, 120}}},
        {2, true, 14, 60, {{0, 0, 0, 0}, {0, 0, 0, 0}, {0, 0, 0, 0}}},
    };
    for (const bar_row& r : bar_rows) {
        EXPECT_EQ(lay_out_scroll_bar(r.orientation, r.arrows, r.width, r.height), r.expected)
            << r.orientation << " " << r.arrows << " " << r.width << " x " << r.height;
    }

    struct thumb_row {
        scroll_axis axis;
        std::int32_t content, parent, position;
        thumb_metrics expected;
    };
    const thumb_row thumb_rows[] = {
        {{-300, 0, 60}, 0, 0, -16777215, {0, 16777215, 0, 60, 0x0p+0f}},
        {{0, 5, -17}, 9000001, 1, 16, {9000000, -16, 5, -17, 0x1.a190f6p-21f}},
        {{16, 0, 20}, 9000001, 333, -9000001, {8999668, 9000001, 0, 20, -0x1.dd3c78p-22f}},
        {{1, 0, 60}, 200, 333, 16777216, {0, -16777216, 0, 60, 0x0p+0f}},
        {{120, 5, 333}, -16777216, 16, 5, {0, -5, 5, 333, 0x0p+0f}},
        {{0, -16777216, 1}, 0, 16777215, 5, {0, -5, -16777216, 33554432, 0x0p+0f}},
        {{17, 0, 5}, 5, 20, 333, {0, -333, 0, 17, 0x0p+0f}},
        {{9000001, -17, 120}, 16777215, 333, 200, {16776882, -200, -124, 120, 0x1.12a93cp-1f}},
        {{-17, 60, -9000001}, 14, 20, -17, {0, 17, 60, -137, 0x0p+0f}},
        {{-9000001, 0, -16777215}, 333, -300, 9000001, {633, -9000001, -9000001, -9000634, 0x1p+0f}},
        {{200, 14, 5}, 16777216, 60, 333, {16777156, -333, 14, 5, 0x1.4e004ep-17f}},
        {{200, 14, 20}, -1, 17, 60, {0, -60, 14, 172, 0x0p+0f}},
        {{5, 0, 60}, 16777215, 120, -300, {16777095, 300, 0, 60, -0x1.b800dp-19f}},
        {{17, -300, 16777216}, 60, -17, 0, {77, 0, -300, 16777216, -0x1.a98af4p+17f}},
        {{120, 9000001, 200}, 1, 16, 60, {0, -60, 9000001, 200, 0x0p+0f}},
        {{-16777216, 0, 333}, 16777216, -17, -300, {16777233, 300, 0, 333, -0x1.00013cp+0f}},
        {{14, 120, 16777216}, 333, -16777215, -17, {16777548, 17, 120, 16777216, -0x1.ffff2cp-1f}},
        {{1, 16777215, 17}, -300, -9000001, 1, {8999701, -1, 16777215, 17, -0x1.dd3c14p+1f}},
        {{0, 0, -1}, 16, 120, 200, {0, -200, 0, 0, 0x0p+0f}},
        {{-9000001, 120, 16777215}, -17, -1, 16, {0, -16, 120, 16777215, 0x0p+0f}},
        {{333, -1, 0}, 16777216, 5, -16777215, {16777211, 16777215, 334, 0, 0x1.4f0006p-16f}},
        {{16, 0, 17}, -1, 16777215, 16777215, {0, -16777215, 0, 17, 0x0p+0f}},
        {{16, 17, 120}, 1, 0, 16, {1, -16, 17, 120, -0x1.14p+7f}},
        {{60, 333, 17}, 16777216, 120, 20, {16777096, -20, 333, 17, -0x1.378092p-15f}},
    };
    for (const thumb_row& r : thumb_rows) {
        SCOPED_TRACE(testing::Message() << r.content << " in " << r.parent << " at " << r.position << ", bar "
                                        << r.axis.bar_length << " arrow " << r.axis.arrow);
        const thumb_metrics thumb = measure_thumb(r.axis, r.content, r.parent, r.position);
        EXPECT_EQ(thumb.overflow, r.expected.overflow);
        EXPECT_EQ(thumb.offset, r.expected.offset);
        EXPECT_EQ(thumb.start, r.expected.start);
        EXPECT_EQ(thumb.length, r.expected.length);
        EXPECT_EQ(std::bit_cast<std::uint32_t>(thumb.ratio), std::bit_cast<std::uint32_t>(r.expected.ratio));
    }

    struct press_row {
        int orientation;
        bool arrows;
        std::int32_t thumb_start, thumb_length, press;
        float ratio;
        bool jumps;
        std::int32_t offset;
    };
    const press_row press_rows[] = {
        {0, false, 0, 16, -300, 0x1.d96834p-1f, 1, -324}, {1, false, 11, 16, -17, 0x1.b425eep-1f, 1, -19},
        {0, true, 35, 16, 14, 0x1.851eb8p-1f, 0, 0},      {1, true, 33, 16, -16777215, 0x1.d36952p-2f, 0, 0},
        {0, false, 44, 16, 120, 0x1.b62d4p-1f, 1, 121},   {1, false, 64, 16, 60, 0x1.fd3b8p-1f, 1, 60},
        {0, true, 71, 16, 0, 0x1.69f8dcp-1f, 0, 0},       {1, true, 91, 16, -17, 0x1.a6f4dep-1f, 0, 0},
        {0, false, 86, 16, 200, 0x1.ac37dap-1f, 1, 220},  {1, false, 117, 17, -1, 0x1p+0f, 1, -1},
        {0, true, 114, 16, 200, 0x1.832f2p-1f, 0, 0},     {1, true, 117, 16, 17, 0x1.6ba9dep-1f, 1, 23},
        {0, false, 156, 100, 5, 0x1p+0f, 1, 5},           {1, false, 151, 16, -300, 0x1.cb8d1cp-1f, 1, -334},
        {0, true, 153, 16, 20, 0x1.832f2p-1f, 1, 26},     {1, true, 153, 16, 0, 0x1.684bdap-1f, 0, 0},
    };
    for (const press_row& r : press_rows) {
        const bool vertical_bar = r.orientation == vertical;
        const scroll_bar_boxes boxes =
            lay_out_scroll_bar(r.orientation, r.arrows, vertical_bar ? 16 : 200, vertical_bar ? 200 : 16);
        const thumb_metrics thumb{0, 0, r.thumb_start, r.thumb_length, r.ratio};
        const std::optional<std::int32_t> expected = r.jumps ? std::optional<std::int32_t>(r.offset)
                                                             : std::optional<std::int32_t>();
        EXPECT_EQ(track_press_offset(r.press, thumb, boxes, r.orientation, r.arrows), expected) << r.press;
    }

    struct resize_row {
        std::int32_t position, content, parent, expected;
    };
    const resize_row resize_rows[] = {
        {333, 5, 16, 333},
        {0, 16, 333, 0},
        {-17, 0, -300, -17},
        {-16777216, 16777216, 120, -16777096},
        {16777216, 333, 14, 16777216},
        {-1, 16777215, -1, -1},
        {0, 17, 60, 0},
        {17, 16777215, 200, 17},
        {14, -16777215, 16777215, 14},
        {-9000001, 60, 20, -40},
        {16, 16, 5, 16},
        {17, 1, -300, 17},
    };
    for (const resize_row& r : resize_rows) {
        EXPECT_EQ(content_position_after_parent_resize(r.position, r.content, r.parent), r.expected)
            << r.position << " " << r.content << " in " << r.parent;
    }
}

// Sums beyond the 32-bit range are held at its nearest end, and a NaN never becomes an integer.
TEST(ExtremeScrollBars, HoldResultsAtTheEndsOfTheRange)
{
    constexpr std::int32_t max = std::numeric_limits<std::int32_t>::max();
    constexpr std::int32_t min = std::numeric_limits<std::int32_t>::min();
    constexpr float nan = std::numeric_limits<float>::quiet_NaN();
    constexpr float inf = std::numeric_limits<float>::infinity();

    EXPECT_EQ(lay_out_scroll_bar(vertical, true, max, min),
              (scroll_bar_boxes{{0, 0, max, max}, {0, min, max, max}, {0, max, max, min}}));
    EXPECT_EQ(lay_out_scroll_bar(vertical, true, min, max),
              (scroll_bar_boxes{{0, 0, min, min}, {0, max, min, min}, {0, min, min, max}}));
    EXPECT_EQ(lay_out_scroll_bar(horizontal, true, min, max),
              (scroll_bar_boxes{{0, 0, max, max}, {min, 0, max, max}, {max, 0, min, max}}));

    struct thumb_row {
        scroll_axis axis;
        std::int32_t content, parent, position;
        thumb_metrics expected;
    };
    const thumb_row thumb_rows[] = {
        // Track 2^31 - 1 + 2^32, overflow 2^32 - 1, thumb 2^31: ratio 1, travel held at 10^9.
        {{max, min, max}, max, min, min, {max, max, min + 1000000000, max, 1.0f}},
        {{min, max, min}, min, max, max, {0, -max, max, min, 0.0f}},
        {example_axis, 300, 100, min, {200, max, 1000000016, 16, 0.76f}},
    };
    for (const thumb_row& r : thumb_rows) {
        const thumb_metrics thumb = measure_thumb(r.axis, r.content, r.parent, r.position);
        EXPECT_EQ(thumb.overflow, r.expected.overflow) << r.content << " in " << r.parent;
        EXPECT_EQ(thumb.offset, r.expected.offset);
        EXPECT_EQ(thumb.start, r.expected.start);
        EXPECT_EQ(thumb.length, r.expected.length);
        EXPECT_FLOAT_EQ(thumb.ratio, r.expected.ratio);
    }

    struct travel_row {
        std::int32_t offset;
        float ratio;
        std::int32_t travel;
    };
    const travel_row travel_rows[] = {
        {100, nan, 0},
        {0, inf, 0},
        {5, inf, 1000000000},
        {-5, inf, -1000000000},
        {min, 1.0f, -1000000000},
        {max, -inf, -1000000000},
    };
    for (const travel_row& r : travel_rows) {
        EXPECT_EQ(thumb_travel(r.offset, r.ratio), r.travel) << r.offset << " x " << r.ratio;
    }
    EXPECT_EQ(drag_offset(min, nan), std::nullopt);
    EXPECT_EQ(drag_offset(max, inf), 0);
    EXPECT_EQ(drag_offset(min, std::numeric_limits<float>::denorm_min()), -1000000000);

    // A thumb ending past 2^31 has no press after it; one whose end sums below -2^31 has every press after it.
    const scroll_bar_boxes bare = lay_out_scroll_bar(vertical, false, 16, 200);
    EXPECT_EQ(track_press_offset(max, {0, 0, max, max, 1.0f}, bare, vertical, false), std::nullopt);
    EXPECT_EQ(track_press_offset(5, {0, 0, min, min, 1.0f}, bare, vertical, false), 1000000000);
    EXPECT_EQ(track_press_offset(5, {0, 0, min, min, nan}, bare, vertical, false), std::nullopt);
    const scroll_bar_boxes far_arrow{{0, max, 16, max}, {0, max, 16, 16}, {}};
    EXPECT_EQ(track_press_offset(max - 1, {0, 0, max, 0, 1.0f}, far_arrow, vertical, true), std::nullopt);

    EXPECT_EQ(content_position_after_parent_resize(-1, min, max), 0);
    EXPECT_EQ(content_position_after_parent_resize(min, min, max), 0);
    EXPECT_EQ(content_position_after_parent_resize(min, max, min), min);
}

}  // namespace
