#include "qxsdk/ui/core/scroll_geometry.h"

#include <gtest/gtest.h>

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

}  // namespace
