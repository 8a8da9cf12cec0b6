#include "qxsdk/ui/core/event_codes.h"
#include "qxsdk/ui/core/event_dispatcher.h"
#include "qxsdk/ui/core/window_base.h"

namespace qxsdk::ui {

namespace {

widget* captured = nullptr;

widget* hit(const window_base& window)
{
    return widget_at_point(window, get_cursor_position(window, window.root()));
}

void fire_if_takes_input(widget* w, std::int32_t code, std::uint64_t value)
{
    if (takes_input(w)) {
        fire_event(*w, code, value);
    }
}

// The wheel goes to the widget under the cursor, else to the first ancestor that handles it.
void route_wheel(widget* target, std::uint64_t value)
{
    if (!takes_input(target)) {
        return;
    }
    while (!fire_event(*target, event_code::mouse_wheel, value) && target->parent() != nullptr) {
        target = target->parent();
    }
}

}  // namespace

widget* captured_widget() noexcept
{
    return captured;
}

void set_captured_widget(widget* w) noexcept
{
    captured = w;
}

bool has_double_click_handler(const window_base& window, std::int32_t code)
{
    const widget* under = hit(window);
    return takes_input(under) && has_handlers(*under, code);
}

bool route_window_event(window_base& window, std::int32_t code, std::uint64_t value)
{
    switch (code) {
    case event_code::mouse_up:
        if (takes_input(captured)) {
            fire_event(*captured, code, value);
        } else {
            fire_if_takes_input(hit(window), code, value);
        }
        break;
    case event_code::mouse_down:
    case event_code::double_click:
        if (widget* under = hit(window); takes_input(under)) {
            set_focus_widget(window, under, focus_reason::click_or_system);
            fire_event(*under, code, value);
        }
        break;
    case event_code::mouse_wheel:
        route_wheel(hit(window), value);
        break;
    case event_code::mouse_leave:
        fire_if_takes_input(window.hovered_, code, value);
        break;
    case event_code::mouse_move:
        if (takes_input(captured)) {
            fire_event(*captured, code, value);
        } else {
            widget* under = hit(window);
            if (under == window.hovered_) {
                fire_if_takes_input(under, code, value);
            } else {
                fire_if_takes_input(window.hovered_, event_code::mouse_leave, 0);
                fire_if_takes_input(under, event_code::mouse_enter, 0);
            }
            window.hovered_ = under;
        }
        break;
    case event_code::key_down:
    case event_code::key_up:
    case event_code::ime_event:
        fire_if_takes_input(window.focused_, code, value);
        break;
    case event_code::char_input:
        if (value == '\t') {
            if (window.key_held(key_kind::shift)) {
                focus_previous(window);
            } else {
                focus_next(window);
            }
        } else {
            fire_if_takes_input(window.focused_, code, value);
        }
        break;
    case event_code::resized:
        set_geometry(window.root_, {0, 0, pair_low(value), pair_high(value)});
        break;
    case event_code::focus_gained:
    case event_code::focus_lost:
        fire_if_takes_input(window.focused_, code, 0);
        fire_event(window, code, 0);
        break;
    case event_code::files_dropped:
        fire_if_takes_input(hit(window), code, value);
        break;
    default:
        break;
    }
    return true;
}

}  // namespace qxsdk::ui
