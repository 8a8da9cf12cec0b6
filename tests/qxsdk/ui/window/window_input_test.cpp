#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "qxsdk/ui/core/event_codes.h"
#include "qxsdk/ui/window/cursors.h"
#include "qxsdk/ui/window/keyboard.h"
#include "tests/qxsdk/ui/window/window_test_support.h"

namespace {

using namespace window_test;
using entries = std::vector<std::string>;

// A panel (10, 10, 200, 150) with a label (20, 20, 50, 20) and a check box (100, 20, 40, 40) in a shown
// window; client points below are in window units.
class WindowInputTest : public ShownWindowTest {
protected:
    WindowInputTest()
    {
        attach_widget(panel, win.root(), {10, 10, 200, 150});
        attach_widget(label, panel, {20, 20, 50, 20});
        attach_widget(check_box, panel, {100, 20, 40, 40});
    }

    // Sends the input, then runs messages until the log has grown to the count (or a short while passed).
    bool settle(std::size_t count)
    {
        return pump_until([&] { return log.entries.size() >= count; }, 1000ms);
    }

    widget panel;
    widget label;
    widget check_box;
};

constexpr point on_label{35, 35};
constexpr point on_check_box{125, 45};
constexpr point on_panel{150, 130};

TEST_F(WindowInputTest, HoverStartsOnTheSecondMoveAndFollowsTheCursor)
{
    log.watch(label, "label", {event_code::mouse_enter, event_code::mouse_leave, event_code::mouse_move});
    log.watch(panel, "panel", {event_code::mouse_enter, event_code::mouse_leave, event_code::mouse_move});
    move_cursor_to(win, on_label);
    pump_for(50ms);
    EXPECT_TRUE(log.entries.empty());  // the first move only starts tracking
    move_cursor_to(win, {on_label.x + 1, on_label.y});
    settle(1);
    move_cursor_to(win, {on_label.x + 2, on_label.y});
    settle(2);
    move_cursor_to(win, on_panel);
    settle(4);
    EXPECT_EQ(log.entries, (entries{"label 5 0", "label 7 0", "label 6 0", "panel 5 0"}));

    INPUT away{};
    away.type = INPUT_MOUSE;
    away.mi.dx = 0;
    away.mi.dy = 0;
    away.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    send_input(away);
    EXPECT_TRUE(settle(5));
    ASSERT_EQ(log.entries.size(), 5u);
    EXPECT_EQ(log.entries[4], "panel 6 0");
    EXPECT_FALSE(win.mouse_inside());
}

TEST_F(WindowInputTest, ClicksFocusTheWidgetThatTakesInputAndSkipDisabledOnes)
{
    log.watch(check_box, "check_box", {event_code::mouse_down, event_code::mouse_up});
    log.watch(panel, "panel", {event_code::mouse_down, event_code::mouse_up, event_code::focus_gained});
    set_enabled(check_box, false);
    click(win, on_check_box);
    pump_for(50ms);
    EXPECT_TRUE(log.entries.empty());
    EXPECT_EQ(win.focused(), &win.root());

    click(win, on_panel, MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP);
    settle(3);
    EXPECT_EQ(log.entries, (entries{"panel 22 0", "panel 2 2", "panel 1 2"}));
    EXPECT_EQ(win.focused(), &panel);
}

TEST_F(WindowInputTest, ADoubleClickWithoutAHandlerArrivesAsASecondMouseDown)
{
    log.watch(label, "label", {event_code::mouse_down});  // watching double_click would add a handler
    log.watch(check_box, "check_box", {event_code::mouse_down, event_code::double_click});
    click(win, on_label);
    click(win, on_label);
    settle(2);
    EXPECT_EQ(log.entries, (entries{"label 2 0", "label 2 0"}));

    log.entries.clear();
    click(win, on_check_box);
    click(win, on_check_box);
    settle(2);
    EXPECT_EQ(log.entries, (entries{"check_box 2 0", "check_box 3 0"}));
}

TEST_F(WindowInputTest, AWheelNotchReachesTheFirstAncestorWithWheelHandlers)
{
    std::vector<double> amounts;
    connect_event(panel, event_code::mouse_wheel,
                  [&](const event_info& e) { amounts.push_back(wheel_amount(e.value)); });
    move_cursor_to(win, on_label);
    pump_for(20ms);
    send_mouse(MOUSEEVENTF_WHEEL, static_cast<DWORD>(-WHEEL_DELTA));
    send_mouse(MOUSEEVENTF_WHEEL, WHEEL_DELTA);
    pump_until([&] { return amounts.size() >= 2; }, 1000ms);
    EXPECT_EQ(amounts, (std::vector<double>{-60.0, 60.0}));
}

TEST_F(WindowInputTest, TheCapturedWidgetGetsMovesAndTheReleaseAnywhere)
{
    log.watch(check_box, "check_box", {event_code::mouse_move, event_code::mouse_up, event_code::mouse_leave});
    log.watch(label, "label", {event_code::mouse_enter, event_code::mouse_move, event_code::mouse_up});
    connect_event(check_box, event_code::mouse_down, [&](const event_info&) { win.capture_mouse(check_box); });
    connect_event(check_box, event_code::mouse_up, [&](const event_info&) { win.release_mouse_capture(); });
    move_cursor_to(win, on_check_box);
    move_cursor_to(win, {on_check_box.x + 1, on_check_box.y});
    pump_for(30ms);
    send_mouse(MOUSEEVENTF_LEFTDOWN);
    pump_for(30ms);
    ASSERT_EQ(captured_widget(), &check_box);
    log.entries.clear();
    move_cursor_to(win, on_label);
    settle(1);
    send_mouse(MOUSEEVENTF_LEFTUP);
    settle(2);
    EXPECT_EQ(log.entries, (entries{"check_box 7 0", "check_box 1 0"}));
    EXPECT_EQ(captured_widget(), nullptr);
}

TEST_F(WindowInputTest, LosingThePlatformCaptureReleasesTheCapturedWidget)
{
    win.capture_mouse(check_box);
    ASSERT_EQ(captured_widget(), &check_box);
    ReleaseCapture();
    pump_for(10ms);
    EXPECT_EQ(captured_widget(), nullptr);
}

TEST_F(WindowInputTest, KeysReachTheFocusedWidget)
{
    log.watch(check_box, "check_box", {event_code::key_down, event_code::key_up, event_code::char_input});
    set_focus_widget(win, &check_box, focus_reason::click_or_system);
    press_key('A');
    settle(3);
    EXPECT_EQ(log.entries, (entries{"check_box 8 65", "check_box 10 97", "check_box 9 65"}));
}

TEST_F(WindowInputTest, CtrlDoesNotCountWhileTheRightAltMakesItAltGr)
{
    const auto key_state_settles = [](int kind, bool held) {
        return pump_until([&] { return is_key_down(kind) == held; }, 500ms);
    };
    send_key(VK_LCONTROL, false);
    EXPECT_TRUE(key_state_settles(key_kind::left_ctrl, true));
    EXPECT_TRUE(is_key_down(key_kind::ctrl_without_alt_gr));
    INPUT right_alt{};
    right_alt.type = INPUT_KEYBOARD;
    right_alt.ki.wVk = VK_RMENU;
    right_alt.ki.dwFlags = KEYEVENTF_EXTENDEDKEY;
    send_input(right_alt);
    EXPECT_TRUE(key_state_settles(key_kind::right_alt, true));
    EXPECT_FALSE(is_key_down(key_kind::ctrl_without_alt_gr));
    EXPECT_TRUE(is_key_down(key_kind::alt));
    right_alt.ki.dwFlags |= KEYEVENTF_KEYUP;
    send_input(right_alt);
    send_key(VK_LCONTROL, true);
    EXPECT_TRUE(key_state_settles(key_kind::left_ctrl, false));
}

TEST(CursorTable, EachKindSetsItsSystemCursorAndOtherKindsTheArrow)
{
    struct case_row {
        std::int32_t kind;
        LPCWSTR cursor;
    };
    const case_row rows[] = {
        {0, IDC_ARROW}, {1, IDC_CROSS},    {2, IDC_SIZEWE},   {3, IDC_SIZENS}, {4, IDC_SIZENWSE}, {5, IDC_IBEAM},
        {6, IDC_HAND},  {7, IDC_SIZENWSE}, {8, IDC_SIZENESW}, {9, IDC_ARROW},  {-1, IDC_ARROW},
    };
    for (const case_row& row : rows) {
        set_cursor_kind(row.kind);
        EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, row.cursor)) << row.kind;
    }
}

// The focus order root, P, Q, R, all three focusable.
class TabOrderTest : public ShownWindowTest {
protected:
    TabOrderTest()
    {
        int x = 10;
        for (widget* w : {&p, &q, &r}) {
            attach_widget(*w, win.root(), {x, 10, 30, 30});
            w->set_focusable(true);
            x += 40;
        }
    }

    widget* tab(bool shift)
    {
        if (shift) {
            send_key(VK_SHIFT, false);
        }
        press_key(VK_TAB);
        if (shift) {
            send_key(VK_SHIFT, true);
        }
        widget* before = win.focused();
        pump_until([&] { return win.focused() != before; }, 500ms);
        return win.focused();
    }

    widget p;
    widget q;
    widget r;
};

TEST_F(TabOrderTest, TabAndShiftTabFollowTheFocusOrder)
{
    std::vector<std::uint64_t> chars;
    for (widget* w : {&p, &q, &r}) {
        connect_event(*w, event_code::char_input, [&](const event_info& e) { chars.push_back(e.value); });
    }
    EXPECT_EQ(tab(false), &p);
    set_focus_widget(win, &win.root(), focus_reason::click_or_system);
    EXPECT_EQ(tab(true), &q);
    set_focus_widget(win, &r, focus_reason::click_or_system);
    EXPECT_EQ(tab(true), &q);
    set_focus_widget(win, &r, focus_reason::click_or_system);
    EXPECT_EQ(tab(false), &p);
    EXPECT_TRUE(chars.empty());  // Tab moves the focus and is not delivered
}

}  // namespace
