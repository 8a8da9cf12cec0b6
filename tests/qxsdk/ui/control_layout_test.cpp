// The controls' layout arithmetic as tables: label sizes, check-box boxes by mode, picture frames, pop-up size.
#include "qxsdk/ui/core/control_layout.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <ostream>

namespace qxsdk::ui {

std::ostream& operator<<(std::ostream& out, const rect& r)
{
    return out << "{" << r.x << ", " << r.y << ", " << r.width << ", " << r.height << "}";
}

std::ostream& operator<<(std::ostream& out, const size_units& s)
{
    return out << s.width << " x " << s.height;
}

std::ostream& operator<<(std::ostream& out, const popup_geometry& g)
{
    return out << g.client << ": message " << g.message << ", check box " << g.checkbox << ", buttons "
               << g.first_button << " " << g.second_button;
}

}  // namespace qxsdk::ui

namespace {

using namespace qxsdk::ui;

TEST(LabelLayout, OnlyTheAutomaticDirectionsAreUnboundedAndFollowTheText)
{
    const rect current{5, 6, 100, 20};
    const size_units measured{73, 31};
    struct row {
        bool auto_width;
        bool auto_height;
        size_units box;
        rect geometry;
    };
    const row rows[] = {
        {false, false, {100, 20}, {5, 6, 100, 20}},
        {true, false, {0, 20}, {5, 6, 73, 20}},
        {false, true, {100, 0}, {5, 6, 100, 31}},  // wraps at the label's width
        {true, true, {0, 0}, {5, 6, 73, 31}},
    };
    for (const row& r : rows) {
        SCOPED_TRACE(testing::Message() << "auto width " << r.auto_width << ", auto height " << r.auto_height);
        EXPECT_EQ(label_measuring_box(current, r.auto_width, r.auto_height), r.box);
        EXPECT_EQ(label_geometry(current, r.auto_width, r.auto_height, measured), r.geometry);
    }
    // An empty text measures (0, 0): an auto-height label collapses to height 0.
    EXPECT_EQ(label_geometry(current, false, true, {0, 0}), (rect{5, 6, 100, 0}));
}

TEST(PictureStrip, FewerThanOneFrameOrNoBytesIsNoPicture)
{
    static constexpr std::uint8_t bytes[4] = {};
    EXPECT_FALSE(names_picture({bytes, 0, 2, 0}));
    EXPECT_FALSE(names_picture({bytes, 4, 0, 0}));
    EXPECT_FALSE(names_picture({bytes, 4, -3, 0}));
    EXPECT_TRUE(names_picture({bytes, 4, 1, 0}));

    struct row {
        std::uint32_t height;
        std::int32_t frames;
        std::int32_t frame_height;
    };
    const row rows[] = {{28, 2, 14}, {29, 2, 14}, {28, 1, 28}, {28, 4, 7}, {28, 0, 0}, {28, -1, 0}};
    for (const row& r : rows) {
        EXPECT_EQ(strip_frame_height(r.height, r.frames), r.frame_height) << r.height << " / " << r.frames;
    }
}

TEST(CheckBoxLayout, EveryModePlacesPictureAndCaption)
{
    // A 120 x 20 check box, a 14 x 14 frame and a 60 x 13 caption: gap 5, room 41.
    const checkbox_boxes previous{{7, 0, 0, 0}, {8, 0, 0, 0}};
    struct row {
        std::int32_t mode;
        std::int32_t image_x;
        std::int32_t text_x;
    };
    const row rows[] = {
        {0, 0, 19},   {1, 41, 60}, {2, 20, 39}, {3, 0, 60}, {4, 65, 0},
        {5, 106, 41}, {6, 85, 20}, {7, 106, 0}, {8, 7, 8},  // not a mode: x positions kept
        {-1, 7, 8},
    };
    for (const row& r : rows) {
        SCOPED_TRACE(testing::Message() << "mode " << r.mode);
        const checkbox_boxes boxes = checkbox_layout(r.mode, {120, 20}, {14, 14}, {60, 13}, previous);
        EXPECT_EQ(boxes.image, (rect{r.image_x, 3, 14, 14}));
        EXPECT_EQ(boxes.text, (rect{r.text_x, 3, 60, 13}));
    }
}

TEST(CheckBoxLayout, EdgeCasesOfGapRoomAndHalves)
{
    const checkbox_boxes none{};
    // An empty caption has no gap: the empty text box starts right after the picture.
    const checkbox_boxes empty = checkbox_layout(0, {120, 20}, {14, 14}, {0, 0}, none);
    EXPECT_EQ(empty.image, (rect{0, 3, 14, 14}));
    EXPECT_EQ(empty.text, (rect{14, 10, 0, 0}));
    // A caption wider than the check box makes the room negative: centred, the picture starts left of 0.
    const checkbox_boxes wide = checkbox_layout(2, {50, 20}, {14, 14}, {80, 13}, none);
    EXPECT_EQ(wide.image.x, -24);
    EXPECT_EQ(wide.text.x, -5);
    // Halves truncate toward zero, also when the frame is taller than the check box.
    const checkbox_boxes odd = checkbox_layout(0, {120, 21}, {14, 14}, {60, 13}, none);
    EXPECT_EQ(odd.image.y, 3);
    EXPECT_EQ(odd.text.y, 4);
    EXPECT_EQ(checkbox_layout(0, {120, 9}, {14, 14}, {60, 13}, none).image.y, -2);
    // Without a picture the frame is 0 x 0.
    EXPECT_EQ(checkbox_layout(0, {120, 20}, {0, 0}, {60, 13}, none).text, (rect{5, 3, 60, 13}));
}

TEST(CheckBoxFrames, TheFrameFollowsHoverCheckedAndEnabled)
{
    struct row {
        std::int32_t frames;
        bool hovered;
        bool checked_and_enabled;
        std::int32_t top;
    };
    const row rows[] = {
        {2, false, false, 0}, {2, false, true, 14}, {2, true, false, 0},  {2, true, true, 14},
        {3, true, true, 14},  {4, false, true, 14}, {4, true, false, 28}, {4, true, true, 42},
        {1, false, true, 0},  {1, true, false, 0},  // a one-frame strip shows its frame
        {0, true, true, 0},
    };
    for (const row& r : rows) {
        EXPECT_EQ(checkbox_frame_top(r.frames, 14, r.hovered, r.checked_and_enabled), r.top)
            << r.frames << " frames, hovered " << r.hovered << ", checked and enabled " << r.checked_and_enabled;
    }
}

TEST(ButtonPicture, OneFrameIsCentredAndFrameOneShowsWhileHoveredOrToggled)
{
    EXPECT_EQ(button_picture_box({100, 30}, {20, 40}, 20), (rect{40, 5, 20, 20}));
    EXPECT_EQ(button_picture_box({25, 25}, {10, 10}, 10), (rect{7, 7, 10, 10}));
    EXPECT_EQ(button_picture_box({10, 10}, {15, 15}, 15), (rect{-2, -2, 15, 15}));

    EXPECT_EQ(button_frame_top(2, 10, true), 10);
    EXPECT_EQ(button_frame_top(2, 10, false), 0);
    EXPECT_EQ(button_frame_top(1, 10, true), 0);
}

TEST(PopupLayout, SizesAndButtonPlacesByType)
{
    const popup_metrics metrics;
    struct row {
        std::int32_t type;
        size_units message;
        popup_geometry expected;
    };
    const row rows[] = {
        // An empty message: margins, spacing and the button row only.
        {popup_type::ok, {0, 0}, {{360, 90}, {20, 20, 320, 0}, {20, 30, 360, 0}, {240, 40, 100, 30}, {}}},
        {popup_type::ok_cancel,
         {200, 15},
         {{360, 105}, {20, 20, 320, 15}, {20, 45, 360, 0}, {130, 55, 100, 30}, {240, 55, 100, 30}}},
        // A long line widens the pop-up to the text plus the margins.
        {popup_type::yes_no,
         {500, 15},
         {{540, 105}, {20, 20, 500, 15}, {20, 45, 540, 0}, {310, 55, 100, 30}, {420, 55, 100, 30}}},
        {popup_type::ok, {320, 40}, {{360, 130}, {20, 20, 320, 40}, {20, 70, 360, 0}, {240, 80, 100, 30}, {}}},
        {popup_type::ok, {321, 40}, {{361, 130}, {20, 20, 321, 40}, {20, 70, 361, 0}, {241, 80, 100, 30}, {}}},
    };
    for (const row& r : rows) {
        SCOPED_TRACE(testing::Message() << "type " << r.type << ", message " << r.message);
        const popup_geometry got = popup_layout(metrics, r.type, r.message);
        EXPECT_EQ(got.client, r.expected.client);
        EXPECT_EQ(got.message, r.expected.message);
        EXPECT_EQ(got.checkbox, r.expected.checkbox);
        EXPECT_EQ(got.first_button, r.expected.first_button);
        EXPECT_EQ(got.second_button, r.expected.second_button);
    }
}

TEST(PopupLayout, OnlyTypesZeroToTwoArePopups)
{
    EXPECT_TRUE(is_popup_type(0));
    EXPECT_TRUE(is_popup_type(1));
    EXPECT_TRUE(is_popup_type(2));
    EXPECT_FALSE(is_popup_type(3));
    EXPECT_FALSE(is_popup_type(-1));
}

// Layouts of real sizes, within 2^24 either way (the values printed by the 32-bit arithmetic these functions had
// before they took their sums in 64 bits): the results must stay the same to the bit.
TEST(RealLayouts, CheckBoxesButtonsAndFramesKeepTheirPlaces)
{
    struct checkbox_row {
        std::int32_t mode;
        size_units own, frame, caption;
        std::int32_t previous_image_x, previous_text_x;
        rect image, text;
    };
    const checkbox_row checkbox_rows[] = {
        {-1,
         {-17, -300},
         {-9000001, -16777215},
         {-16777216, 16},
         -300,
         120,
         {-300, 8388457, -9000001, -16777215},
         {120, -158, -16777216, 16}},
        {0,
         {16777215, 60},
         {16777216, 9000001},
         {14, -16777216},
         -1,
         5,
         {0, -4499970, 16777216, 9000001},
         {16777221, 8388638, 14, -16777216}},
        {1, {-300, 1}, {333, -1}, {16, 333}, 17, 1, {-654, 1, 333, -1}, {-316, -166, 16, 333}},
        {2,
         {0, -16777215},
         {9000001, 333},
         {9000001, 60},
         -17,
         -16777215,
         {-9000003, -8388774, 9000001, 333},
         {3, -8388637, 9000001, 60}},
        {3, {9000001, 20}, {120, -300}, {-9000001, 1}, 120, 16777215, {0, 160, 120, -300}, {18000002, 9, -9000001, 1}},
        {4, {1, 200}, {0, -16777216}, {60, -17}, 333, 14, {65, 8388708, 0, -16777216}, {0, 108, 60, -17}},
        {5,
         {-1, 16},
         {-9000001, -9000001},
         {-17, 16777215},
         16777216,
         200,
         {9000000, 4500008, -9000001, -9000001},
         {9000017, -8388599, -17, 16777215}},
        {6, {120, 5}, {333, -17}, {-300, 16777216}, 17, 14, {-257, 11, 333, -17}, {43, -8388605, -300, 16777216}},
        {7, {-16777216, 120}, {20, 1}, {5, 20}, 60, -17, {-16777236, 59, 20, 1}, {0, 50, 5, 20}},
        {8,
         {-17, -9000001},
         {16777216, 1},
         {-16777215, -16777216},
         -16777216,
         -16777216,
         {-16777216, -4500001, 16777216, 1},
         {-16777216, 3888607, -16777215, -16777216}},
        {-1,
         {0, -16777216},
         {-1, 16777216},
         {16777215, -9000001},
         -16777215,
         -16777216,
         {-16777215, -16777216, -1, 16777216},
         {-16777216, -3888607, 16777215, -9000001}},
        {0, {20, -16777216}, {0, 120}, {9000001, -17}, -1, 0, {0, -8388668, 0, 120}, {5, -8388599, 9000001, -17}},
        {1,
         {20, 16},
         {-300, 60},
         {120, 16777216},
         20,
         -16777216,
         {195, -22, -300, 60},
         {-100, -8388600, 120, 16777216}},
        {2,
         {16777215, -16777215},
         {-17, 5},
         {5, 16777215},
         0,
         120,
         {8388611, -8388610, -17, 5},
         {8388599, -16777215, 5, 16777215}},
        {3,
         {1, 16777215},
         {200, 5},
         {16777215, 16},
         14,
         16777216,
         {0, 8388605, 200, 5},
         {-16777214, 8388599, 16777215, 16}},
        {4, {120, 16777216}, {20, 14}, {17, 16}, 20, 333, {22, 8388601, 20, 14}, {0, 8388600, 17, 16}},
        {5,
         {-16777215, 0},
         {120, -17},
         {17, 16777215},
         60,
         1,
         {-16777335, 8, 120, -17},
         {-16777357, -8388607, 17, 16777215}},
        {6,
         {120, 9000001},
         {-300, 20},
         {-9000001, 16777216},
         -16777216,
         14,
         {-4499791, 4499990, -300, 20},
         {4500210, -3888607, -9000001, 16777216}},
        {7,
         {-16777215, 5},
         {120, -16777216},
         {14, 16777216},
         -1,
         60,
         {-16777335, 8388610, 120, -16777216},
         {0, -8388605, 14, 16777216}},
        {8,
         {-9000001, -16777216},
         {1, 120},
         {0, 14},
         -16777215,
         16777216,
         {-16777215, -8388668, 1, 120},
         {16777216, -8388615, 0, 14}},
    };
    for (const checkbox_row& r : checkbox_rows) {
        SCOPED_TRACE(testing::Message() << "mode " << r.mode << ", own " << r.own << ", frame " << r.frame
                                        << ", caption " << r.caption);
        const checkbox_boxes previous{{r.previous_image_x, 0, 0, 0}, {r.previous_text_x, 0, 0, 0}};
        const checkbox_boxes boxes = checkbox_layout(r.mode, r.own, r.frame, r.caption, previous);
        EXPECT_EQ(boxes.image, r.image);
        EXPECT_EQ(boxes.text, r.text);
    }

    struct frame_row {
        std::int32_t frames, frame_height;
        bool hovered, checked_and_enabled;
        std::int32_t checkbox_top, button_top;
    };
    const frame_row frame_rows[] = {
        {-1, 14, 0, 0, 0, 0},      {0, 333, 1, 0, 0, 0},
        {1, 16777216, 0, 1, 0, 0}, {2, 16777215, 1, 1, 16777215, 16777215},
        {3, 200, 0, 0, 0, 0},      {4, -16777215, 1, 0, -33554430, -16777215},
        {-1, 200, 0, 1, 0, 0},     {0, -9000001, 1, 1, 0, 0},
        {1, 333, 0, 0, 0, 0},      {2, 1, 1, 0, 0, 1},
        {3, 333, 0, 1, 333, 0},    {4, 9000001, 1, 1, 27000003, 9000001},
    };
    for (const frame_row& r : frame_rows) {
        SCOPED_TRACE(testing::Message() << r.frames << " frames of " << r.frame_height);
        EXPECT_EQ(checkbox_frame_top(r.frames, r.frame_height, r.hovered, r.checked_and_enabled), r.checkbox_top);
        EXPECT_EQ(button_frame_top(r.frames, r.frame_height, r.hovered), r.button_top);
    }

    struct button_row {
        size_units button, picture;
        std::int32_t frame_height;
        rect box;
    };
    const button_row button_rows[] = {
        {{1, 9000001}, {14, 16}, 17, {-6, 4499992, 14, 17}},
        {{16777216, 0}, {-9000001, -16777215}, 20, {12888608, -10, -9000001, 20}},
        {{-16777215, 16777216}, {120, 333}, -300, {-8388667, 8388758, 120, -300}},
        {{9000001, -16777215}, {120, 17}, -16777215, {4499940, 0, 120, -16777215}},
        {{333, 200}, {9000001, 16777216}, 14, {-4499834, 93, 9000001, 14}},
        {{-16777216, 60}, {-16777215, 16}, 5, {0, 27, -16777215, 5}},
        {{120, 16777216}, {17, 17}, 120, {51, 8388548, 17, 120}},
        {{14, 17}, {16777216, 120}, -16777216, {-8388601, 8388616, 16777216, -16777216}},
        {{14, -9000001}, {-16777216, 20}, 16777215, {8388615, -12888608, -16777216, 16777215}},
        {{16777215, 14}, {-300, -9000001}, 5, {8388757, 4, -300, 5}},
    };
    for (const button_row& r : button_rows) {
        EXPECT_EQ(button_picture_box(r.button, r.picture, r.frame_height), r.box) << r.button << ", " << r.picture;
    }
}

TEST(RealLayouts, PopupsKeepTheirSizesAndPlaces)
{
    struct row {
        popup_metrics metrics;
        std::int32_t type;
        size_units message;
        popup_geometry expected;
    };
    const row rows[] = {
        {{333, 14, -16777215, -9000001, -17},
         0,
         {60, 333},
         {{-17999037, -34776904},
          {-9000001, -9000001, 965, 333},
          {-9000001, -8999685, -17999037, -16777215},
          {-8999369, -25776917, 333, 14},
          {0, 0, 0, 0}}},
        {{17, 120, 20, -1, 60},
         1,
         {16, 120},
         {{169, 378}, {-1, -1, 171, 120}, {-1, 179, 169, 20}, {76, 259, 17, 120}, {153, 259, 17, 120}}},
        {{14, -16777215, -9000001, 1, 0},
         2,
         {-300, 1},
         {{44, -25777213},
          {1, 1, 42, 1},
          {1, 2, 44, -9000001},
          {15, -8999999, 14, -16777215},
          {29, -8999999, 14, -16777215}}},
        {{0, -17, 1, 16777215, 16},
         3,
         {0, 16777215},
         {{33554462, 50331661},
          {16777215, 16777215, 32, 16777215},
          {16777215, 33554446, 33554462, 1},
          {16777231, 33554463, 0, -17},
          {16777247, 33554463, 0, -17}}},
        {{-16777215, -17, 5, -16777216, 60},
         0,
         {120, 1},
         {{-33554312, -33554323},
          {-16777216, -16777216, 120, 1},
          {-16777216, -16777155, -33554312, 5},
          {119, -16777090, -16777215, -17},
          {0, 0, 0, 0}}},
        {{5, -1, 60, -9000001, 333},
         1,
         {5, -1},
         {{-17999321, -17999278},
          {-9000001, -9000001, 681, -1},
          {-9000001, -8999669, -17999321, 60},
          {-8999663, -8999276, 5, -1},
          {-8999325, -8999276, 5, -1}}},
        {{-1, -9000001, 5, 5, 333},
         2,
         {200, 120},
         {{673, -8999200}, {5, 5, 663, 120}, {5, 458, 673, 5}, {337, 796, -1, -9000001}, {669, 796, -1, -9000001}}},
        {{1, 0, -16777215, 14, -16777216},
         3,
         {-16777215, 16},
         {{-16777187, -50331603},
          {14, 14, -16777215, 16},
          {14, -16777186, -16777187, -16777215},
          {13, -50331617, 1, 0},
          {-16777202, -50331617, 1, 0}}},
        {{20, 0, 60, 16777216, -9000001},
         0,
         {-16777215, 17},
         {{16777217, 15554507},
          {16777216, 16777216, -16777215, 17},
          {16777216, 7777232, 16777217, 60},
          {-19, -1222709, 20, 0},
          {0, 0, 0, 0}}},
        {{9000001, 17, 14, -16777216, 120},
         1,
         {16, 1},
         {{-6554189, -33554160},
          {-16777216, -16777216, 27000243, 1},
          {-16777216, -16777095, -6554189, 14},
          {-7777095, -16776961, 9000001, 17},
          {1223026, -16776961, 9000001, 17}}},
        {{-300, 16, -17, -1, -1},
         2,
         {60, -1},
         {{58, -6}, {-1, -1, 60, -1}, {-1, -3, 58, -17}, {660, -21, -300, 16}, {359, -21, -300, 16}}},
        {{60, 17, 16777216, -16777216, 200},
         3,
         {-300, 17},
         {{-33553852, -16776782},
          {-16777216, -16777216, 580, 17},
          {-16777216, -16776999, -33553852, 16777216},
          {-16776956, 417, 60, 17},
          {-16776696, 417, 60, 17}}},
    };
    for (const row& r : rows) {
        SCOPED_TRACE(testing::Message() << "type " << r.type << ", message " << r.message);
        EXPECT_EQ(popup_layout(r.metrics, r.type, r.message), r.expected);
    }
}

// Sums beyond the 32-bit range are held at its nearest end instead of overflowing.
TEST(ExtremeLayouts, HoldResultsAtTheEndsOfTheRange)
{
    constexpr std::int32_t max = std::numeric_limits<std::int32_t>::max();
    constexpr std::int32_t min = std::numeric_limits<std::int32_t>::min();

    const checkbox_boxes centred = checkbox_layout(2, {max, max}, {min, min}, {min, min}, {});
    EXPECT_EQ(centred.image, (rect{max, max, min, min}));  // room / 2 = 3 * 2^30 - 1
    EXPECT_EQ(centred.text, (rect{1073741823, max, min, min}));
    const checkbox_boxes caption_first = checkbox_layout(5, {min, min}, {max, max}, {max, 0}, {});
    EXPECT_EQ(caption_first.image, (rect{min, -max, max, max}));
    EXPECT_EQ(caption_first.text, (rect{min, min / 2, max, 0}));

    struct frame_row {
        std::int32_t frame_height;
        bool checked_and_enabled;
        std::int32_t top;
    };
    for (const frame_row& r : {frame_row{max, true, max}, frame_row{min, true, min}, frame_row{min, false, min}}) {
        EXPECT_EQ(checkbox_frame_top(4, r.frame_height, true, r.checked_and_enabled), r.top) << r.frame_height;
    }
    EXPECT_EQ(button_picture_box({max, min}, {min, 0}, max), (rect{max, -max, min, max}));

    struct popup_row {
        popup_metrics metrics;
        std::int32_t type;
        size_units message;
        popup_geometry expected;
    };
    const popup_row popup_rows[] = {
        {{},
         popup_type::ok,
         {max, max},
         {{max, max}, {20, 20, max, max}, {20, max, max, 0}, {max - 80, max, 100, 30}, {}}},
        {{min, min, min, min, min},
         popup_type::ok_cancel,
         {min, min},
         {{min, min}, {min, min, min, min}, {min, min, min, min}, {max, min, min, min}, {min, min, min, min}}},
    };
    for (const popup_row& r : popup_rows) {
        EXPECT_EQ(popup_layout(r.metrics, r.type, r.message), r.expected) << r.message;
    }
}

}  // namespace
