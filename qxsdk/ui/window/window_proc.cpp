#include "qxsdk/ui/window/window_proc.h"

#include <windowsx.h>

#include <exception>

#include "qxsdk/ui/core/event_codes.h"
#include "qxsdk/ui/window/caught_exception.h"
#include "qxsdk/ui/window/widget_painting.h"
#include "qxsdk/ui/window/window.h"

namespace qxsdk::ui {

namespace {

void route(window& win, std::int32_t code, std::uint64_t value)
{
    route_window_event(win, code, value);
}

void on_size(window& win, LPARAM lparam)
{
    const auto width = static_cast<std::int32_t>(LOWORD(lparam));
    const auto height = static_cast<std::int32_t>(HIWORD(lparam));
    if (painter* p = win.get_painter(); p != nullptr && p->get_renderer().target() != nullptr) {
        p->get_renderer().resize(static_cast<std::uint32_t>(width), static_cast<std::uint32_t>(height));
    }
    const dpi_scale& dpi = win.native().dpi();
    route(win, event_code::resized, pack_pair(dpi.width_to_units(width), dpi.height_to_units(height)));
}

void on_paint(window& win, HWND handle)
{
    RECT update{};
    if (GetUpdateRect(handle, &update, FALSE) == FALSE) {
        return;
    }
    if (win.get_painter() != nullptr) {
        const edges dirty = win.native().dpi().area_to_units({update.left, update.top, update.right, update.bottom});
        paint_widget_tree(win, win.root(), dirty);
    }
    ValidateRect(handle, &update);
}

// The tracking limits, from the client size limits: the frame is added in pixels, the sum taken to units and
// back at the window's DPI.
void on_get_min_max_info(const native_window& native, MINMAXINFO& info)
{
    const SIZE frame = native_window::outer_size(0, 0);
    const dpi_scale& dpi = native.dpi();
    const auto track = [&](point client) {
        return POINT{mul_div(mul_div(client.x + frame.cx, units_per_inch, dpi.x), dpi.x, units_per_inch),
                     mul_div(mul_div(client.y + frame.cy, units_per_inch, dpi.y), dpi.y, units_per_inch)};
    };
    info.ptMinTrackSize = track(native.minimum_client_size());
    info.ptMaxTrackSize = track(native.maximum_client_size());
}

// The first move after the cursor entered only starts tracking its leaving; hover starts with the second.
LRESULT on_mouse_move(window& win, HWND handle)
{
    if (win.mouse_inside()) {
        route(win, event_code::mouse_move, 0);
        return 0;
    }
    win.set_mouse_inside(true);
    TRACKMOUSEEVENT track{};
    track.cbSize = sizeof track;
    track.dwFlags = TME_LEAVE;
    track.hwndTrack = handle;
    track.dwHoverTime = HOVER_DEFAULT;
    TrackMouseEvent(&track);
    return 1;
}

void on_double_click(window& win, std::uint64_t button)
{
    route(win,
          has_double_click_handler(win, event_code::double_click) ? event_code::double_click : event_code::mouse_down,
          button);
}

LRESULT handle_message(window& win, native_window& native, HWND handle, UINT message, WPARAM wparam, LPARAM lparam)
{
    switch (message) {
    case WM_SIZE:
        on_size(win, lparam);
        return 0;
    case WM_SETFOCUS:
        route(win, event_code::focus_gained, 0);
        return 0;
    case WM_KILLFOCUS:
        route(win, event_code::focus_lost, 0);
        return 0;
    case WM_PAINT:
        on_paint(win, handle);
        return 0;
    case WM_COMMAND:
        return 0;
    case WM_CLOSE:
        win.end_modal();
        return 1;
    case WM_SETCURSOR:
        if (!win.mouse_inside()) {
            return DefWindowProcW(handle, message, wparam, lparam);
        }
        return 0;
    case WM_GETMINMAXINFO:
        on_get_min_max_info(native, *reinterpret_cast<MINMAXINFO*>(lparam));
        return 0;
    case WM_INPUTLANGCHANGE:
        if (ime_context* ime = win.input_method(); ime != nullptr) {
            ime->on_input_language_change(GetKeyboardLayout(0));
        }
        return 0;
    case WM_IME_STARTCOMPOSITION:
        if (ime_context* ime = win.input_method(); ime != nullptr) {
            ime->on_start_composition(win);
        }
        return 0;
    case WM_IME_ENDCOMPOSITION:
        if (ime_context* ime = win.input_method(); ime != nullptr) {
            ime->on_end_composition(win);
        }
        return 0;
    case WM_IME_COMPOSITION:
        if (ime_context* ime = win.input_method(); ime != nullptr) {
            ime->on_composition(win, static_cast<std::uint32_t>(lparam));
        }
        return 0;
    case WM_KEYDOWN:
        route(win, event_code::key_down, wparam);
        return 0;
    case WM_KEYUP:
        route(win, event_code::key_up, wparam);
        return 0;
    case WM_CHAR:
        route(win, event_code::char_input, wparam);
        return 0;
    case WM_IME_SETCONTEXT:
        // The platform must not draw its own composition window.
        return DefWindowProcW(handle, message, wparam, lparam & ~LPARAM{ISC_SHOWUICOMPOSITIONWINDOW});
    case WM_TIMER:
        win.on_timer(wparam);
        return 0;
    case WM_MOUSEMOVE:
        return on_mouse_move(win, handle);
    case WM_LBUTTONDOWN:
        route(win, event_code::mouse_down, mouse_button::left);
        return 0;
    case WM_MBUTTONDOWN:
        route(win, event_code::mouse_down, mouse_button::middle);
        return 0;
    case WM_RBUTTONDOWN:
        route(win, event_code::mouse_down, mouse_button::right);
        return 0;
    case WM_LBUTTONUP:
        route(win, event_code::mouse_up, mouse_button::left);
        return 0;
    case WM_MBUTTONUP:
        route(win, event_code::mouse_up, mouse_button::middle);
        return 0;
    case WM_RBUTTONUP:
        route(win, event_code::mouse_up, mouse_button::right);
        return 0;
    case WM_LBUTTONDBLCLK:
        on_double_click(win, mouse_button::left);
        return 0;
    case WM_MBUTTONDBLCLK:
        on_double_click(win, mouse_button::middle);
        return 0;
    case WM_RBUTTONDBLCLK:
        on_double_click(win, mouse_button::right);
        return 0;
    case WM_MOUSEWHEEL:
        route(win, event_code::mouse_wheel, wheel_event_value(GET_WHEEL_DELTA_WPARAM(wparam)));
        return 0;
    case WM_MOUSELEAVE:
        win.set_mouse_inside(false);
        route(win, event_code::mouse_leave, 0);
        return 0;
    case WM_CAPTURECHANGED:
        // Another window took the mouse (or it was released): this window's widget no longer holds it.
        if (widget* held = captured_widget(); held != nullptr && held->window() == &win) {
            set_captured_widget(nullptr);
        }
        return 0;
    default:
        return DefWindowProcW(handle, message, wparam, lparam);
    }
}

}  // namespace

LRESULT CALLBACK window_proc(HWND handle, UINT message, WPARAM wparam, LPARAM lparam) noexcept
{
    native_window* native = native_window::from_handle(handle);
    window* win = native != nullptr ? native->toolkit_window() : nullptr;
    if (win == nullptr) {
        // Not bound yet (the window is being created) or its window object is being destroyed.
        if (message == WM_SIZE || message == WM_GETMINMAXINFO) {
            return 0;
        }
        return DefWindowProcW(handle, message, wparam, lparam);
    }
    try {
        return handle_message(*win, *native, handle, message, wparam, lparam);
    } catch (...) {
        keep_caught_exception(std::current_exception());
        return 0;
    }
}

}  // namespace qxsdk::ui
