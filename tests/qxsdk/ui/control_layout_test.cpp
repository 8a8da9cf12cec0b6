// The controls' layout arithmetic as tables: label sizes, check-box boxes by mode, picture frames, pop-up size.
#include "qxsdk/ui/core/control_layout.h"

#include <gtest/gtest.h>

#include <cstdint>
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

}  // namespace
