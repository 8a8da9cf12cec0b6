#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "qxsdk/ui/core/event_codes.h"
#include "qxsdk/ui/window/caught_exception.h"
#include "tests/qxsdk/ui/window/window_test_support.h"

namespace {

using namespace window_test;

constexpr UINT test_message = WM_APP + 7;

class ModalWindowTest : public ::testing::Test {
protected:
    ModalWindowTest() { win.create_window("modal test", {100, 100, 300, 200}); }

    HWND handle() { return win.native().handle(); }

    window win;
    widget owner_widget;
};

TEST_F(ModalWindowTest, CreationLeavesTheWindowHiddenWithTheRootFocusedAndTheTitleSet)
{
    EXPECT_FALSE(IsWindowVisible(handle()));
    EXPECT_EQ(win.focused(), &win.root());
    EXPECT_EQ(win.root().name(), "BaseWidget");
    EXPECT_EQ(win.root().geometry(), (rect{0, 0, 300, 200}));
    EXPECT_EQ(win.focus_order().size(), 1u);
    wchar_t title[64] = {};
    GetWindowTextW(handle(), title, 64);
    EXPECT_EQ(std::wstring(title), L"modal test");
    EXPECT_EQ(GetWindowLongW(handle(), GWL_STYLE) & 0x02C80000, 0x02C80000);
    const rect client = win.get_client_size();
    EXPECT_EQ(client.width, 300);
    EXPECT_EQ(client.height, 200);
}

TEST_F(ModalWindowTest, EndModalFromAHandlerEndsTheLoopWithoutLosingTheNextMessage)
{
    connect_event(win, event_code::timer, [&](const event_info&) {
        win.set_modal_result(42);
        win.end_modal();
        PostMessageW(handle(), test_message, 0, 0);  // arrives after the loop was told to end
    });
    win.add_timer(win, 1, 20, true);
    win.run_modal();
    EXPECT_EQ(win.modal_result(), 42);
    EXPECT_FALSE(IsWindowVisible(handle()));
    MSG message{};
    EXPECT_TRUE(PeekMessageW(&message, handle(), test_message, test_message, PM_REMOVE));
}

TEST_F(ModalWindowTest, TheCloseBoxEndsTheLoopAndKeepsTheWindow)
{
    PostMessageW(handle(), WM_CLOSE, 0, 0);
    win.run_modal();
    EXPECT_TRUE(IsWindow(handle()));
    EXPECT_FALSE(IsWindowVisible(handle()));
    EXPECT_EQ(SendMessageW(handle(), WM_CLOSE, 0, 0), 1);
    EXPECT_TRUE(IsWindow(handle()));
}

TEST_F(ModalWindowTest, AOneShotTimerFiresOnceAndKeyedTimersStopByKey)
{
    std::vector<std::uint64_t> fired;
    connect_event(owner_widget, event_code::timer, [&](const event_info& event) { fired.push_back(event.value); });
    win.add_timer(owner_widget, 5, 10, true);
    win.add_timer(owner_widget, 6, 10, false);
    win.add_timer(owner_widget, 7, 10, false);
    win.kill_timer(owner_widget, 99);  // no such key: nothing
    win.kill_timer(owner_widget, 7);
    connect_event(win, event_code::timer, [&](const event_info&) { win.end_modal(); });
    // Long enough for five expiries of the 10 ms timer on a loaded machine.
    win.add_timer(win, 1, 600, true);
    win.run_modal();
    EXPECT_EQ(std::count(fired.begin(), fired.end(), 5u), 1);
    EXPECT_GE(std::count(fired.begin(), fired.end(), 6u), 5);
    EXPECT_EQ(std::count(fired.begin(), fired.end(), 7u), 0);
}

TEST_F(ModalWindowTest, AnExceptionFromAHandlerReachesTheCallerOfRunModal)
{
    connect_event(win, event_code::timer, [](const event_info&) { throw std::runtime_error("handler failed"); });
    win.add_timer(win, 1, 20, true);
    try {
        win.run_modal();
        FAIL() << "run_modal returned";
    } catch (const std::runtime_error& e) {
        EXPECT_STREQ(e.what(), "handler failed");
    }
    EXPECT_FALSE(win.native().modal_running());
    EXPECT_FALSE(IsWindowVisible(handle()));
}

TEST_F(ModalWindowTest, TheWindowProcedureKeepsAnExceptionInsteadOfUnwindingThroughTheDispatch)
{
    connect_event(win.root(), event_code::key_down, [](const event_info&) { throw std::logic_error("key"); });
    // The platform call returns normally; the exception waits to be thrown again.
    EXPECT_EQ(SendMessageW(handle(), WM_KEYDOWN, 'A', 0), 0);
    EXPECT_THROW(rethrow_caught_exception(), std::logic_error);
    EXPECT_NO_THROW(rethrow_caught_exception());
}

TEST_F(ModalWindowTest, EndModalGivesTheOwnerBackTheStateItHadBeforeTheLoop)
{
    // Two pop-ups over one owner: closing the inner one must not enable the owner while the outer holds it.
    window outer;
    outer.set_owner(&win);
    outer.create_window("outer", {120, 120, 100, 80});
    window inner;
    inner.set_owner(&win);
    inner.create_window("inner", {140, 140, 100, 80});
    ShowWindow(handle(), SW_SHOW);

    bool owner_enabled_inside_outer = true;
    connect_event(inner, event_code::timer, [&](const event_info&) { inner.end_modal(); });
    connect_event(outer, event_code::timer, [&](const event_info&) {
        inner.add_timer(inner, 1, 20, true);
        inner.run_modal();
        owner_enabled_inside_outer = IsWindowEnabled(handle()) != FALSE;
        outer.end_modal();
    });
    outer.add_timer(outer, 1, 20, true);
    outer.run_modal();
    EXPECT_FALSE(owner_enabled_inside_outer);
    EXPECT_TRUE(IsWindowEnabled(handle()));
}

TEST_F(ModalWindowTest, ADestroyedWidgetsTimersStop)
{
    auto doomed = std::make_unique<widget>();
    attach_widget(*doomed, win.root(), {0, 0, 10, 10});
    win.add_timer(*doomed, 3, 10, false);
    win.add_timer(*doomed, 4, 10, true);
    doomed.reset();
    int fired = 0;
    connect_event(win, event_code::timer, [&](const event_info&) {
        ++fired;
        win.end_modal();
    });
    win.add_timer(win, 9, 100, true);
    win.run_modal();
    EXPECT_EQ(fired, 1);
    Sleep(50);  // several periods of the widget's repeating timer, had it survived
    MSG message{};
    EXPECT_FALSE(PeekMessageW(&message, handle(), WM_TIMER, WM_TIMER, PM_NOREMOVE));
}

TEST_F(ModalWindowTest, AnExceptionInANestedPopUpEndsEveryLoopOnItsWayOut)
{
    window popup;
    popup.set_owner(&win);
    popup.create_window("popup", {150, 150, 200, 100});
    connect_event(popup, event_code::timer, [](const event_info&) { throw std::runtime_error("inner"); });
    connect_event(win, event_code::timer, [&](const event_info&) {
        popup.add_timer(popup, 1, 20, true);
        popup.run_modal();
    });
    win.add_timer(win, 1, 20, true);
    EXPECT_THROW(win.run_modal(), std::runtime_error);
    EXPECT_FALSE(IsWindowVisible(popup.native().handle()));
    EXPECT_FALSE(IsWindowVisible(handle()));
    EXPECT_TRUE(IsWindowEnabled(handle()));
}

TEST_F(ModalWindowTest, AQuitRequestEndsTheLoopAndStaysForTheProgram)
{
    PostQuitMessage(3);
    win.run_modal();
    MSG message{};
    ASSERT_TRUE(PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(message.wParam, 3u);
}

TEST(WindowDestruction, MessagesDuringDestructionReachNoHandler)
{
    int focus_events = 0;
    {
        window win;
        win.create_window("destroyed", {100, 100, 200, 100});
        ShowWindow(win.native().handle(), SW_SHOW);
        SetForegroundWindow(win.native().handle());
        SetFocus(win.native().handle());
        pump_for(20ms);
        connect_event(win, event_code::focus_lost, [&](const event_info&) { ++focus_events; });
        connect_event(win.root(), event_code::resized, [&](const event_info&) { ++focus_events; });
    }
    EXPECT_EQ(focus_events, 0);
}

TEST(WindowPlacement, CentringKeepsTheWindowInsideTheWorkArea)
{
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY), &monitor);
    const RECT work = monitor.rcWork;
    const int screen_width = GetSystemMetrics(SM_CXSCREEN);
    const int screen_height = GetSystemMetrics(SM_CYSCREEN);

    window small;
    small.create_window("small", {0, 0, 300, 200});
    small.center_window();
    RECT placed{};
    GetWindowRect(small.native().handle(), &placed);
    const dpi_scale& dpi = small.native().dpi();
    EXPECT_EQ(placed.left, (screen_width - dpi.width_to_pixels(300)) / 2);
    EXPECT_EQ(placed.top, (screen_height - dpi.height_to_pixels(200)) / 2);

    // Larger than the screen: pushed back from the right and bottom, then one pixel in from the left and top.
    window large;
    large.create_window("large", {0, 0, screen_width + 200, screen_height + 200});
    large.center_window();
    GetWindowRect(large.native().handle(), &placed);
    EXPECT_EQ(placed.left, work.left + 1);
    EXPECT_EQ(placed.top, work.top + 1);

    // Over an owner, centred on the owner's outer rectangle.
    window owned;
    owned.set_owner(&small);
    owned.create_window("owned", {0, 0, 200, 100});
    owned.center_window();
    RECT owner_rect{};
    GetWindowRect(small.native().handle(), &owner_rect);
    GetWindowRect(owned.native().handle(), &placed);
    EXPECT_EQ(placed.left, owner_rect.left + (owner_rect.right - owner_rect.left - dpi.width_to_pixels(200)) / 2);
    EXPECT_EQ(placed.top, owner_rect.top + (owner_rect.bottom - owner_rect.top - dpi.height_to_pixels(100)) / 2);
}

TEST(WindowPlacement, SetClientSizeMovesAndSizesTheClientArea)
{
    window win;
    win.create_window("sized", {0, 0, 100, 100});
    win.set_client_size({50, 60, 320, 240});
    RECT client{};
    GetClientRect(win.native().handle(), &client);
    const dpi_scale& dpi = win.native().dpi();
    EXPECT_EQ(client.right, dpi.width_to_pixels(320));
    EXPECT_EQ(client.bottom, dpi.height_to_pixels(240));
    RECT outer{};
    GetWindowRect(win.native().handle(), &outer);
    EXPECT_EQ(outer.left, 50);
    EXPECT_EQ(outer.top, 60);
    const rect reported = win.get_client_size();
    EXPECT_EQ(reported.width, 320);
    EXPECT_EQ(reported.height, 240);
    EXPECT_EQ(win.root().geometry(), (rect{0, 0, 320, 240}));  // the size change reached the root
}

}  // namespace
