#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "qxsdk/ui/core/event_codes.h"
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
        for (auto [w, name] : {std::pair{&win.root(), "root"}, std::pair{&panel, "panel"},
                               std::pair{&first, "first"}, std::pair{&second, "second"},
                               std::pair{&beside, "beside"}}) {
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
