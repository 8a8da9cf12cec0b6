#include "qxsdk/ui/window/window.h"

#include "qxsdk/filesystem/text_conversion.h"
#include "qxsdk/ui/core/event_codes.h"
#include "qxsdk/ui/core/event_dispatcher.h"
#include "qxsdk/ui/core/work_area.h"
#include "qxsdk/ui/window/caught_exception.h"
#include "qxsdk/ui/window/cursors.h"
#include "qxsdk/ui/window/display_dpi.h"
#include "qxsdk/ui/window/keyboard.h"

namespace qxsdk::ui {

window::window()
{
    screen_dpi();  // read once, when the process makes its first window
    set_cursor_kind(0);
}

window::~window()
{
    // From here on the window procedure leaves this window's messages to the platform, so nothing is routed
    // to widgets that are gone or going.
    native_.detach();
}

void window::create_window(std::string_view title, const rect& area)
{
    native_.create(owner_ != nullptr ? &owner_->native_ : nullptr, *this, area);
    SetWindowTextW(native_.handle(), utf8_to_wide(title).c_str());
    create_root(area);
    painter_ = std::make_unique<painter>(create_renderer(native_.handle()));
    input_method_ = std::make_unique<ime_context>(native_.handle());
    rethrow_caught_exception();
}

void window::set_client_size(const rect& area)
{
    const dpi_scale& dpi = native_.dpi();
    const SIZE outer = native_window::outer_size(dpi.width_to_pixels(area.width), dpi.height_to_pixels(area.height));
    SetWindowPos(native_.handle(), nullptr, area.x, area.y, outer.cx, outer.cy, SWP_NOZORDER | SWP_NOACTIVATE);
    rethrow_caught_exception();
}

rect window::get_client_size() const
{
    RECT client{};
    GetClientRect(native_.handle(), &client);
    POINT corner{0, 0};
    ClientToScreen(native_.handle(), &corner);
    const dpi_scale& dpi = native_.dpi();
    return {corner.x, corner.y, dpi.width_to_units(client.right), dpi.height_to_units(client.bottom)};
}

HWND window::platform_owner() const noexcept
{
    HWND owner = GetWindow(native_.handle(), GW_OWNER);
    return owner == GetDesktopWindow() ? nullptr : owner;
}

void window::center_window()
{
    const dpi_scale& dpi = native_.dpi();
    const rect client = get_client_size();
    const std::int32_t w = dpi.width_to_pixels(client.width);
    const std::int32_t h = dpi.height_to_pixels(client.height);

    const HWND owner = platform_owner();
    RECT reference{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    if (owner != nullptr) {
        GetWindowRect(owner, &reference);
    }
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(owner != nullptr ? MonitorFromWindow(owner, MONITOR_DEFAULTTONEAREST)
                                     : MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY),
                    &monitor);
    const RECT& work = monitor.rcWork;

    const auto place = [](LONG reference_start, LONG reference_length, LONG client_length, LONG outer_length,
                          LONG work_start, LONG work_end) {
        return keep_in_work_area(reference_start + (reference_length - client_length) / 2, outer_length, work_start,
                                 work_end);
    };
    const SIZE outer = native_window::outer_size(w, h);
    const LONG x = place(reference.left, reference.right - reference.left, w, outer.cx, work.left, work.right);
    const LONG y = place(reference.top, reference.bottom - reference.top, h, outer.cy, work.top, work.bottom);
    SetWindowPos(native_.handle(), nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    rethrow_caught_exception();
}

void window::keep_on_screen()
{
    RECT outer{};
    GetWindowRect(native_.handle(), &outer);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(MonitorFromRect(&outer, MONITOR_DEFAULTTONEAREST), &monitor);
    const RECT& work = monitor.rcWork;
    const LONG x = keep_in_work_area(outer.left, outer.right - outer.left, work.left, work.right);
    const LONG y = keep_in_work_area(outer.top, outer.bottom - outer.top, work.top, work.bottom);
    if (x != outer.left || y != outer.top) {
        SetWindowPos(native_.handle(), nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    rethrow_caught_exception();
}

void window::run_modal()
{
    const HWND owner = platform_owner();
    owner_was_enabled_ = owner == nullptr || IsWindowEnabled(owner) != FALSE;
    if (owner != nullptr) {
        EnableWindow(owner, FALSE);
    }
    try {
        if (IsWindowVisible(native_.handle()) == FALSE) {
            ShowWindow(native_.handle(), SW_SHOW);
            UpdateWindow(native_.handle());
        }
        rethrow_caught_exception();
        native_.set_modal_running(true);
        message_loop();
    } catch (...) {
        end_modal();
        throw;
    }
}

void window::message_loop()
{
    MSG message{};
    while (native_.modal_running()) {
        // Each message is looked at before it is taken, so one that arrives after end_modal stays queued
        // for whichever loop runs next.
        while (PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE) != FALSE) {
            rethrow_caught_exception();
            if (!native_.modal_running()) {
                return;
            }
            if (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE) == FALSE) {
                break;
            }
            if (message.message == WM_QUIT) {
                // The program is ending: the outer loops and the program's own see the request too.
                PostQuitMessage(static_cast<int>(message.wParam));
                end_modal();
                return;
            }
            if (input_method_ != nullptr && input_method_->composing() &&
                (message.message == WM_KEYDOWN || message.message == WM_SYSKEYDOWN)) {
                input_method_->record_key_press();
            }
            TranslateMessage(&message);
            DispatchMessageW(&message);
            rethrow_caught_exception();
        }
        if (native_.modal_running()) {
            WaitMessage();
        }
    }
}

void window::end_modal()
{
    native_.set_modal_running(false);
    const bool give_owner_back = owner_was_enabled_.value_or(true);
    owner_was_enabled_.reset();
    if (const HWND owner = platform_owner(); owner != nullptr) {
        EnableWindow(owner, give_owner_back ? TRUE : FALSE);
        if (give_owner_back) {
            SetFocus(owner);
        }
    }
    if (IsWindowVisible(native_.handle()) != FALSE) {
        ShowWindow(native_.handle(), SW_HIDE);
    }
    rethrow_caught_exception();
}

void window::add_timer(event_object& owner, std::int32_t key, std::uint32_t interval_ms, bool one_shot)
{
    const std::uint32_t id = native_.timers().add(owner, key, one_shot);
    SetTimer(native_.handle(), id, interval_ms, nullptr);
}

void window::kill_timer(const event_object& owner, std::int32_t key)
{
    if (const auto id = native_.timers().find(owner, key)) {
        stop_timer(*id);
    }
}

void window::stop_timer(std::uint32_t id) noexcept
{
    KillTimer(native_.handle(), id);
    native_.timers().remove(id);
}

void window::forget_widget(const widget& w) noexcept
{
    window_base::forget_widget(w);
    while (const auto id = native_.timers().any_of(w)) {
        stop_timer(*id);
    }
}

void window::on_timer(std::uintptr_t id)
{
    if (id == tooltip_state::timer_id) {
        tooltip_tick();
        return;
    }
    const auto entry = native_.timers().at(static_cast<std::uint32_t>(id));
    if (!entry) {
        return;
    }
    // A one-shot timer stops before its handlers run, so a handler that starts it again keeps the new one.
    if (entry->one_shot) {
        stop_timer(static_cast<std::uint32_t>(id));
    }
    fire_event(*entry->owner, event_code::timer, static_cast<std::uint64_t>(static_cast<std::uint32_t>(entry->key)));
}

void window::tooltip_tick()
{
    const widget* over = hovered();
    const point cursor = over != nullptr ? get_cursor_position(*this, *over) : point{};
    // No control of the toolkit shows a tooltip yet: the tick keeps the state, and the tooltip window that
    // would act on its decision joins with the first control that adds a region.
    tooltip().tick(over, cursor, false);
}

void window::capture_mouse(widget& w)
{
    // The capture moves first: taking it from another window tells that window, which drops its widget.
    SetCapture(native_.handle());
    set_captured_widget(&w);
}

void window::release_mouse_capture()
{
    set_captured_widget(nullptr);
    if (GetCapture() == native_.handle()) {
        ReleaseCapture();
    }
}

void window::invalidate_area(const rect& area)
{
    if (native_.handle() == nullptr) {
        return;
    }
    const edges pixels = native_.dpi().area_to_pixels(edges_of(area));
    const RECT dirty{pixels.left, pixels.top, pixels.right, pixels.bottom};
    InvalidateRect(native_.handle(), &dirty, FALSE);
}

point window::cursor_position() const
{
    POINT cursor{};
    GetCursorPos(&cursor);
    ScreenToClient(native_.handle(), &cursor);
    // Truncated toward zero with the screen DPI read at start-up, not the window's.
    const dpi_scale screen = screen_dpi();
    return {static_cast<std::int32_t>(cursor.x) * units_per_inch / screen.x,
            static_cast<std::int32_t>(cursor.y) * units_per_inch / screen.y};
}

bool window::key_held(int kind) const
{
    return is_key_down(kind);
}

}  // namespace qxsdk::ui
