#pragma once
// Hovering with the real cursor: the window starts tracking on the first move and hovers on the next.

#include "tests/qxsdk/ui/window/window_test_support.h"

namespace controls_test {

inline void hover_at(qxsdk::ui::window& win, qxsdk::ui::point at)
{
    using namespace std::chrono_literals;
    window_test::move_cursor_to(win, at);
    window_test::pump_for(40ms);
    window_test::move_cursor_to(win, {at.x + 1, at.y});
    window_test::pump_for(80ms);
}

}  // namespace controls_test
