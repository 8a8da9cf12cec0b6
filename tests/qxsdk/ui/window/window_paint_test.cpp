#include <windows.h>

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "qxsdk/ui/core/event_codes.h"
#include "tests/qxsdk/ui/window/screen_grab.h"
#include "tests/qxsdk/ui/window/window_test_support.h"

namespace {

using namespace window_test;
using entries = std::vector<std::string>;

class WindowPaintTest : public ShownWindowTest {
protected:
    WindowPaintTest()
    {
        attach_widget(panel, win.root(), {20, 20, 200, 150});
        attach_widget(first, panel, {10, 10, 60, 40});
        attach_widget(second, panel, {100, 10, 60, 40});
        attach_widget(beside, win.root(), {250, 20, 100, 100});
        for (auto [w, name] : {std::pair{&win.root(), "root"}, std::pair{&panel, "panel"}, std::pair{&first, "first"},
                               std::pair{&second, "second"}, std::pair{&beside, "beside"}}) {
            log.watch(*w, name, {event_code::paint});
        }
        pump_for(50ms);
        log.entries.clear();
    }

    void repaint(const RECT& pixels)
    {
        InvalidateRect(win.native().handle(), &pixels, FALSE);
        UpdateWindow(win.native().handle());
    }

    widget panel;
    widget first;
    widget second;
    widget beside;
};

TEST_F(WindowPaintTest, ParentsPaintBeforeTheirChildrenInOrder)
{
    repaint({0, 0, 400, 300});
    EXPECT_EQ(log.entries, (entries{"root 11 0", "panel 11 0", "first 11 0", "second 11 0", "beside 11 0"}));
}

TEST_F(WindowPaintTest, ADirtyAreaPaintsOnlyTheWidgetsItTouchesEdgesIncluded)
{
    // The panel spans x 20 to 220; "beside" begins at 250. A dirty area from 220 to 240 touches the
    // panel's right edge only.
    repaint({220, 100, 240, 110});
    EXPECT_EQ(log.entries, (entries{"root 11 0", "panel 11 0"}));

    log.entries.clear();
    repaint({300, 40, 310, 50});
    EXPECT_EQ(log.entries, (entries{"root 11 0", "beside 11 0"}));
}

TEST_F(WindowPaintTest, HiddenWidgetsAndTheirChildrenAreNotPainted)
{
    set_visible(panel, false);
    pump_for(30ms);
    log.entries.clear();
    repaint({0, 0, 400, 300});
    EXPECT_EQ(log.entries, (entries{"root 11 0", "beside 11 0"}));
}

}  // namespace

namespace {

// A window with a few widgets for review: a panel, two cards with shadows and a captioned strip.
TEST(WindowSnapshot, AWindowWithAFewWidgets)
{
    window win;
    win.create_window("Snapshot", {200, 150, 480, 320});
    widget panel;
    widget card;
    widget second_card;
    widget caption;
    attach_widget(panel, win.root(), {20, 20, 440, 280});
    attach_widget(card, panel, {40, 40, 160, 100});
    attach_widget(second_card, panel, {240, 60, 160, 120});
    attach_widget(caption, panel, {40, 200, 360, 40});
    card.shadow().on = true;
    second_card.shadow() = {true, 6, 8, 24};

    renderer& drawing = win.get_painter()->get_renderer();
    const auto fill = [&](widget& w, color rgba) {
        connect_event(w, event_code::paint, [&drawing, &w, rgba](const event_info&) {
            drawing.set_fill_color(rgba);
            drawing.fill_rect({0, 0, w.geometry().width, w.geometry().height});
        });
    };
    fill(win.root(), {0.93f, 0.93f, 0.95f, 1});
    fill(panel, {1, 1, 1, 1});
    fill(card, {0.2f, 0.45f, 0.85f, 1});
    fill(second_card, {0.95f, 0.6f, 0.2f, 1});
    int caption_paints = 0;
    connect_event(caption, event_code::paint, [&](const event_info&) {
        ++caption_paints;
        drawing.set_pen({0.3f, 0.3f, 0.3f, 1}, 1);
        drawing.draw_rect({0, 0, 360, 40});
        drawing.set_text_color({0.1f, 0.1f, 0.1f, 1});
        drawing.set_font("Verdana", 14, 0, 0);
        drawing.set_text_alignment(1, 0);
        drawing.draw_text({0, 0, 360, 40}, "A toolkit window at the display's DPI");
    });

    ShowWindow(win.native().handle(), SW_SHOW);
    UpdateWindow(win.native().handle());
    pump_for(200ms);
    EXPECT_GE(caption_paints, 1);
    const std::optional<screen_grab> grab = grab_screen("WindowSnapshot.AWindowWithAFewWidgets");
    ASSERT_TRUE(grab);
    // Window points of each fill, away from edges and shadows, in pixels of the window's DPI.
    const dpi_scale& dpi = win.native().dpi();
    const auto at = [&](std::int32_t x, std::int32_t y) {
        return grab->at_client(win.native().handle(), dpi.width_to_pixels(x), dpi.height_to_pixels(y));
    };
    EXPECT_TRUE(shows(at(5, 5), {0.93f, 0.93f, 0.95f, 1}));
    EXPECT_TRUE(shows(at(30, 30), {1, 1, 1, 1}));
    EXPECT_TRUE(shows(at(140, 110), {0.2f, 0.45f, 0.85f, 1}));
    EXPECT_TRUE(shows(at(340, 150), {0.95f, 0.6f, 0.2f, 1}));
}

}  // namespace
