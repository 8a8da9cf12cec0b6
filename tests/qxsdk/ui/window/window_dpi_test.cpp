// Runs in a Wine prefix whose display reports 144 logical pixels per inch.
#include <windows.h>

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "qxsdk/ui/core/event_codes.h"
#include "qxsdk/ui/window/display_dpi.h"
#include "tests/qxsdk/ui/window/screen_grab.h"
#include "tests/qxsdk/ui/window/window_test_support.h"

namespace {

using namespace window_test;

class WindowAt144DpiTest : public ::testing::Test {
protected:
    WindowAt144DpiTest()
    {
        win.create_window("144 dpi", {100, 100, 500, 360});
        attach_widget(box, win.root(), {100, 100, 30, 30});
    }

    void show()
    {
        ShowWindow(win.native().handle(), SW_SHOW);
        SetForegroundWindow(win.native().handle());
        pump_for(50ms);
    }

    window win;
    widget box;
};

TEST_F(WindowAt144DpiTest, TheDisplayReports144)
{
    ASSERT_EQ(read_screen_dpi().x, 144);
    ASSERT_EQ(read_screen_dpi().y, 144);
    EXPECT_EQ(win.native().dpi().x, 144);
}

TEST_F(WindowAt144DpiTest, TheClientAreaIsScaledAndReportedInUnits)
{
    RECT client{};
    GetClientRect(win.native().handle(), &client);
    EXPECT_EQ(client.right, 750);
    EXPECT_EQ(client.bottom, 540);
    const rect size = win.get_client_size();
    EXPECT_EQ(size.width, 500);
    EXPECT_EQ(size.height, 360);
    show();
    EXPECT_EQ(win.root().geometry(), (rect{0, 0, 500, 360}));
}

TEST_F(WindowAt144DpiTest, InvalidatingAWidgetCoversAllOfItsPixels)
{
    show();
    ValidateRect(win.native().handle(), nullptr);
    set_geometry(box, {101, 101, 30, 30});  // units 101..131: pixels 151.5..196.5
    RECT update{};
    ASSERT_TRUE(GetUpdateRect(win.native().handle(), &update, FALSE));
    EXPECT_LE(update.left, 151);
    EXPECT_LE(update.top, 151);
    EXPECT_GE(update.right, 197);
    EXPECT_GE(update.bottom, 197);
}

TEST_F(WindowAt144DpiTest, ADirtyAreaInPixelsPaintsTheWidgetsUnderItsPixels)
{
    show();
    int painted = 0;
    connect_event(box, event_code::paint, [&](const event_info&) { ++painted; });
    const RECT dirty{150, 150, 152, 152};  // the box's top-left pixels (units 100 are pixels 150)
    InvalidateRect(win.native().handle(), &dirty, FALSE);
    UpdateWindow(win.native().handle());
    EXPECT_EQ(painted, 1);
}

TEST_F(WindowAt144DpiTest, TheCursorPositionIsInUnits)
{
    show();
    move_cursor_to(win, {115, 115});
    EXPECT_EQ(win.cursor_position(), (point{115, 115}));
    EXPECT_EQ(widget_at_point(win, win.cursor_position()), &box);
}

// On screen, the 30-unit box covers pixels 150 to 195, and its shadow darkens the white beside it.
TEST_F(WindowAt144DpiTest, PaintsAShadowedWidgetAtItsPixels)
{
    renderer& drawing = win.get_painter()->get_renderer();
    connect_event(win.root(), event_code::paint, [&](const event_info&) {
        drawing.set_fill_color({1, 1, 1, 1});
        drawing.fill_rect({0, 0, 500, 360});
    });
    connect_event(box, event_code::paint, [&](const event_info&) {
        drawing.set_fill_color({0.2f, 0.45f, 0.85f, 1});
        drawing.fill_rect({0, 0, 30, 30});
    });
    box.shadow().on = true;
    int painted = 0;
    connect_event(box, event_code::paint, [&](const event_info&) { ++painted; });
    show();
    UpdateWindow(win.native().handle());
    EXPECT_GE(painted, 1);
    const std::optional<screen_grab> grab = grab_screen("WindowAt144Dpi.AShadowedWidget");
    ASSERT_TRUE(grab);
    const HWND handle = win.native().handle();
    constexpr color blue{0.2f, 0.45f, 0.85f, 1};
    constexpr color white{1, 1, 1, 1};
    for (const std::int32_t edge : {150, 194}) {
        EXPECT_TRUE(shows(grab->at_client(handle, edge, 172), blue)) << edge;
        EXPECT_TRUE(shows(grab->at_client(handle, 172, edge), blue)) << edge;
    }
    EXPECT_TRUE(shows(grab->at_client(handle, 20, 20), white));
    EXPECT_LT(grab->at_client(handle, 198, 172).red, 200);  // 2 units right of the box: shadow
}

}  // namespace
