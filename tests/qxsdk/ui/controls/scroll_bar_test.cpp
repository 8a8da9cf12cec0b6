// A scroll bar in a real window under real input: thumb drags, track presses, arrows and the wheel.
#include "qxsdk/ui/controls/scroll_bar.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <optional>

#include "qxsdk/ui/core/style_lookup.h"
#include "qxsdk/ui/draw/image.h"
#include "tests/qxsdk/ui/draw/bitmap_canvas.h"
#include "tests/qxsdk/ui/window/screen_grab.h"
#include "tests/qxsdk/ui/window/window_test_support.h"

namespace {

using namespace window_test;
using qxsdk::ui::testing::bgra;
using qxsdk::ui::testing::bitmap_canvas;

// An opaque pixel of the colour, within the rounding of one step.
bool close_to(bgra pixel, const color& c)
{
    const auto within_step = [](std::uint8_t channel, float value) {
        return std::abs(static_cast<float>(channel) - value * 255.0f) <= 1.0f;
    };
    return pixel.alpha == 255 && within_step(pixel.red, c.red) && within_step(pixel.green, c.green) &&
           within_step(pixel.blue, c.blue);
}

// A 16 x 200 bar at (230, 20) beside a viewport (20, 20, 200, 100) whose content is 300 high.
class ScrollBarTest : public ShownWindowTest {
protected:
    ScrollBarTest()
    {
        attach_widget(viewport, win.root(), {20, 20, 200, 100});
        attach_widget(content, viewport, {0, 0, 200, 300});
        attach_widget(bar, win.root(), {bar_x, bar_y, 16, 200});
        bar.attach(&content);
        // The first move into the client area only starts tracking the cursor.
        move_cursor_to(win, {5, 5});
        pump_for(20ms);
        move_cursor_to(win, {6, 6});
        pump_for(20ms);
    }

    std::int32_t content_y() const { return content.geometry().y; }

    // A point of the bar, in the bar's coordinates, as a window point.
    static point on_bar(std::int32_t y) { return {bar_x + 8, bar_y + y}; }

    bool settles_at(std::int32_t y)
    {
        return pump_until([&] { return content_y() == y; }, 1000ms);
    }

    static constexpr std::int32_t bar_x = 230;
    static constexpr std::int32_t bar_y = 20;
    widget viewport;
    widget content;
    ScrollBar bar;
};

TEST_F(ScrollBarTest, ThumbFollowsTheOffsetAtTheRatioOfTrackToOverflow)
{
    EXPECT_EQ(bar.boxes().first_arrow, (rect{0, 0, 16, 16}));
    EXPECT_EQ(bar.boxes().second_arrow, (rect{0, 184, 16, 16}));
    EXPECT_EQ(bar.thumb().overflow, 200);
    EXPECT_FLOAT_EQ(bar.thumb().ratio, 0.76f);
    bar.scroll_to(100, true);
    EXPECT_EQ(content_y(), -100);
    EXPECT_EQ(bar.boxes().thumb, (rect{0, 92, 16, 16}));
    pump_for(100ms);
    const std::optional<screen_grab> grab = grab_screen("scroll_bar_at_offset_100");
    ASSERT_TRUE(grab);
    // The thumb is drawn where its box says (beside its grip lines), the track above and below it.
    const auto bar_pixel = [&](std::int32_t y) { return grab->at_client(win.native().handle(), bar_x + 2, bar_y + y); };
    const color thumb = get_style_value(bar.style(), "scroll_bar_back_color");
    const color track = get_style_value(bar.style(), "scroll_back_color");
    EXPECT_TRUE(shows(bar_pixel(93), thumb));
    EXPECT_TRUE(shows(bar_pixel(106), thumb));
    EXPECT_TRUE(shows(bar_pixel(50), track));
    EXPECT_TRUE(shows(bar_pixel(130), track));
    // Not exact: snapped down to the step.
    bar.scroll_to(57, false);
    EXPECT_EQ(content_y(), -50);
    // Anyone moving the content moves the thumb.
    set_geometry(content, {0, -200, 200, 300});
    EXPECT_EQ(bar.boxes().thumb.y, 168);
}

TEST_F(ScrollBarTest, DraggingTheThumbMovesTheContentInStepsAndReleasesTheCapture)
{
    move_cursor_to(win, on_bar(24));  // the thumb at 16 to 32
    send_mouse(MOUSEEVENTF_LEFTDOWN);
    ASSERT_TRUE(pump_until([&] { return bar.dragging(); }));
    EXPECT_EQ(captured_widget(), &bar);
    EXPECT_EQ(GetCapture(), win.native().handle());
    struct step_row {
        std::int32_t travel, expected_y;
    };
    // travel / 0.76, snapped down to 10: 6 -> 0, 13 -> 10, 26 -> 20, 52 -> 50, 200 -> 200, past the end.
    const step_row rows[] = {{5, 0}, {10, -10}, {20, -20}, {40, -50}, {152, -200}, {170, -200}, {-30, 0}};
    for (const step_row& row : rows) {
        // Outside the bar sideways too: the capture holds the moves.
        move_cursor_to(win, {bar_x + 40, bar_y + 24 + row.travel});
        EXPECT_TRUE(settles_at(row.expected_y)) << row.travel << ": " << content_y();
        pump_for(20ms);
        EXPECT_EQ(content_y(), row.expected_y) << row.travel;
    }
    send_mouse(MOUSEEVENTF_LEFTUP);
    EXPECT_TRUE(pump_until([&] { return !bar.dragging(); }));
    EXPECT_EQ(captured_widget(), nullptr);
    EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(ScrollBarTest, LosingTheCaptureEndsTheDrag)
{
    move_cursor_to(win, on_bar(24));
    send_mouse(MOUSEEVENTF_LEFTDOWN);
    ASSERT_TRUE(pump_until([&] { return bar.dragging(); }));
    ReleaseCapture();  // as when another window takes the mouse
    pump_for(20ms);
    EXPECT_EQ(captured_widget(), nullptr);
    move_cursor_to(win, on_bar(100));
    pump_for(50ms);
    move_cursor_to(win, on_bar(120));
    pump_for(50ms);
    EXPECT_FALSE(bar.dragging());
    EXPECT_EQ(content_y(), 0);
    send_mouse(MOUSEEVENTF_LEFTUP);
    pump_for(20ms);
}

TEST_F(ScrollBarTest, TrackPressesJumpExactlyAndArrowsStepOnRelease)
{
    click(win, on_bar(150));  // after the thumb: (150 - 16) / 0.76
    EXPECT_TRUE(settles_at(-176));
    click(win, on_bar(50));  // before the thumb (now at 149): 50 / 0.76
    EXPECT_TRUE(settles_at(-65));

    move_cursor_to(win, on_bar(192));
    send_mouse(MOUSEEVENTF_LEFTDOWN);
    pump_for(50ms);
    EXPECT_EQ(content_y(), -65);  // nothing on the press
    send_mouse(MOUSEEVENTF_LEFTUP);
    EXPECT_TRUE(settles_at(-75));
    click(win, on_bar(8));
    EXPECT_TRUE(settles_at(-65));
    for (int i = 0; i < 8; ++i) {
        click(win, on_bar(8));
    }
    EXPECT_TRUE(settles_at(0));
    pump_for(50ms);
    EXPECT_EQ(content_y(), 0);  // never before the beginning
}

TEST_F(ScrollBarTest, TheWheelOverTheBarOrTheContentScrollsHalfADeltaANotch)
{
    move_cursor_to(win, on_bar(100));
    send_mouse(MOUSEEVENTF_WHEEL, static_cast<DWORD>(-120));
    EXPECT_TRUE(settles_at(-60));
    move_cursor_to(win, {100, 60});  // over the content
    send_mouse(MOUSEEVENTF_WHEEL, static_cast<DWORD>(-120));
    EXPECT_TRUE(settles_at(-120));
    send_mouse(MOUSEEVENTF_WHEEL, 120);
    EXPECT_TRUE(settles_at(-60));
    for (int i = 0; i < 5; ++i) {
        send_mouse(MOUSEEVENTF_WHEEL, static_cast<DWORD>(-120));
    }
    EXPECT_TRUE(settles_at(-200));  // held at the end
}

TEST_F(ScrollBarTest, ContentThatShrinksOrAParentThatGrowsKeepsTheEndsTogether)
{
    bar.scroll_to(200, true);
    set_geometry(content, {0, -200, 200, 250});
    EXPECT_EQ(content_y(), -150);  // its end stays at the parent's end
    set_geometry(viewport, {20, 20, 200, 200});
    EXPECT_EQ(content_y(), -50);
    set_geometry(viewport, {20, 20, 200, 280});
    EXPECT_EQ(content_y(), 0);
    EXPECT_EQ(bar.thumb().overflow, 0);
    EXPECT_EQ(bar.boxes().thumb, (rect{0, 16, 16, 168}));
    // No overflow: presses and the wheel leave the content where it is.
    click(win, on_bar(100));
    move_cursor_to(win, on_bar(100));
    send_mouse(MOUSEEVENTF_WHEEL, static_cast<DWORD>(-120));
    pump_for(50ms);
    EXPECT_EQ(content_y(), 0);
}

TEST_F(ScrollBarTest, ABarTooShortForItsThumbIgnoresDragsAndTrackPresses)
{
    set_geometry(bar, {bar_x, bar_y, 16, 40});  // arrows 16 + 16 leave a track of 8 for a thumb of 16
    EXPECT_LE(bar.thumb().ratio, 0.0f);
    move_cursor_to(win, on_bar(20));
    send_mouse(MOUSEEVENTF_LEFTDOWN);
    pump_for(30ms);
    move_cursor_to(win, on_bar(35));
    pump_for(30ms);
    move_cursor_to(win, on_bar(-10));
    pump_for(30ms);
    send_mouse(MOUSEEVENTF_LEFTUP);
    pump_for(30ms);
    EXPECT_EQ(content_y(), 0);
    // The wheel still scrolls.
    move_cursor_to(win, on_bar(20));
    send_mouse(MOUSEEVENTF_WHEEL, static_cast<DWORD>(-120));
    EXPECT_TRUE(settles_at(-60));
}

TEST_F(ScrollBarTest, ArrowsOffGiveTheTrackTheWholeBar)
{
    bar.set_arrows(false);
    EXPECT_EQ(bar.boxes().first_arrow, rect{});
    EXPECT_EQ(bar.boxes().second_arrow, rect{});
    EXPECT_FLOAT_EQ(bar.thumb().ratio, 0.92f);
    click(win, on_bar(4));  // where the first arrow was: now the thumb, which sits at 0
    pump_for(50ms);
    EXPECT_EQ(content_y(), 0);
    click(win, on_bar(116));  // (116 - 16) / 0.92
    EXPECT_TRUE(settles_at(-108));
}

TEST_F(ScrollBarTest, PaintsTrackThumbGripLinesAndArrowsInTheThemeColours)
{
    ASSERT_TRUE(bar.arrow_image().loaded());
    bar.scroll_to(100, true);  // thumb at 92 to 108, grip lines at 97, 100 and 103
    bitmap_canvas canvas(16, 200);
    canvas.paint([&](renderer& drawing) { bar.paint(drawing); });
    canvas.save_snapshot();
    struct pixel_row {
        std::uint32_t x, y;
        style_key colour;
    };
    const pixel_row rows[] = {
        {8, 50, "scroll_back_color"},         {8, 150, "scroll_back_color"},      {8, 94, "scroll_bar_back_color"},
        {8, 106, "scroll_bar_back_color"},    {2, 100, "scroll_bar_back_color"},  {8, 97, "scroll_bar_line_color"},
        {8, 100, "scroll_bar_line_color"},    {8, 103, "scroll_bar_line_color"},  {1, 3, "scroll_button_back_color"},
        {1, 190, "scroll_button_back_color"}, {1, 0, "scroll_button_line_color"}, {1, 184, "scroll_button_line_color"},
    };
    for (const pixel_row& row : rows) {
        EXPECT_TRUE(close_to(canvas.pixel(row.x, row.y), get_style_value(bar.style(), row.colour)))
            << row.x << ", " << row.y << " " << row.colour.view();
    }
    // The picture's halves sit in the middle of each arrow button.
    const color button = get_style_value(bar.style(), "scroll_button_back_color");
    EXPECT_FALSE(close_to(canvas.pixel(8, 7), button));
    EXPECT_FALSE(close_to(canvas.pixel(8, 192), button));
}

}  // namespace
