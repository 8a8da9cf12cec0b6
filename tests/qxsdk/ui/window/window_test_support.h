#pragma once
// Real windows under real input for the window tests: message pumping, the cursor and SendInput.

#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <initializer_list>
#include <string>
#include <vector>

#include "qxsdk/ui/core/event_dispatcher.h"
#include "qxsdk/ui/window/window.h"

namespace window_test {

using namespace qxsdk::ui;
using namespace std::chrono_literals;

// Runs the thread's messages until the test holds or the time is up; the result is the test's.
template <class Test>
bool pump_until(Test test, std::chrono::milliseconds limit = 2000ms)
{
    const auto end = std::chrono::steady_clock::now() + limit;
    while (!test()) {
        if (std::chrono::steady_clock::now() >= end) {
            return false;
        }
        MSG message{};
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE) != FALSE) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        Sleep(5);
    }
    return true;
}

inline void pump_for(std::chrono::milliseconds time)
{
    pump_until([] { return false; }, time);
}

inline void send_input(INPUT input)
{
    SendInput(1, &input, sizeof input);
}

inline void send_mouse(DWORD flags, DWORD data = 0)
{
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = flags;
    input.mi.mouseData = data;
    send_input(input);
}

inline void send_key(WORD virtual_key, bool up)
{
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = virtual_key;
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    send_input(input);
}

inline void press_key(WORD virtual_key)
{
    send_key(virtual_key, false);
    send_key(virtual_key, true);
}

// Puts the cursor on a point of the client area given in toolkit units.
inline void move_cursor_to(window& win, point units)
{
    const dpi_scale& dpi = win.native().dpi();
    POINT at{dpi.width_to_pixels(units.x), dpi.height_to_pixels(units.y)};
    ClientToScreen(win.native().handle(), &at);
    SetCursorPos(at.x, at.y);
}

inline void click(window& win, point units, DWORD down = MOUSEEVENTF_LEFTDOWN, DWORD up = MOUSEEVENTF_LEFTUP)
{
    move_cursor_to(win, units);
    send_mouse(down);
    send_mouse(up);
}

// Records the events of the widgets a test watches, as "name code value".
class event_log {
public:
    void watch(event_object& sender, const std::string& name, std::initializer_list<std::int32_t> codes)
    {
        for (const std::int32_t code : codes) {
            connect_event(sender, code, [this, name](const event_info& event) {
                entries.push_back(name + " " + std::to_string(event.type) + " " + std::to_string(event.value));
            });
        }
    }

    std::vector<std::string> entries;
};

// A shown, active window with a client area of 400 x 300 units, away from the screen's top-left corner
// where windows of other test programs appear: input goes to whatever window lies under the cursor.
class ShownWindowTest : public ::testing::Test {
protected:
    ShownWindowTest()
    {
        win.create_window("window test", {500, 350, 400, 300});
        SetCursorPos(5, 5);  // outside: each test brings the cursor in itself
        ShowWindow(win.native().handle(), SW_SHOW);
        SetForegroundWindow(win.native().handle());
        SetFocus(win.native().handle());
        pump_for(50ms);
    }

    window win;
    event_log log;
};

}  // namespace window_test
