#pragma once

#include <windows.h>

#include <cstdint>

#include "qxsdk/ui/core/dpi_scale.h"
#include "qxsdk/ui/core/timer_table.h"
#include "qxsdk/ui/core/widget.h"
#include "qxsdk/ui/window/native_drop_target.h"

namespace qxsdk::ui {

class window;

// The platform side of a toolkit window: its handle, the display's DPI, the client size limits, the modal
// flag, the timers and the drop target. It initialises OLE for the thread with its drop target and destroys
// the platform window with itself.
class native_window {
public:
    static constexpr DWORD style = WS_CLIPCHILDREN | WS_CAPTION | WS_SYSMENU;  // 0x02C80000
    static constexpr DWORD extended_style = 0;

    native_window() = default;
    ~native_window();

    native_window(const native_window&) = delete;
    native_window& operator=(const native_window&) = delete;

    // Creates the hidden platform window with a client area of the area's size (toolkit units) at the
    // area's position (screen pixels), owned by the owner's window if any.
    void create(native_window* owner, window& toolkit_window, const rect& area);

    HWND handle() const noexcept { return handle_; }

    // The toolkit window the messages go to; none before creation and once that window is being destroyed.
    window* toolkit_window() const noexcept { return window_; }
    void detach() noexcept { window_ = nullptr; }

    const dpi_scale& dpi() const noexcept { return dpi_; }

    // Client size limits (toolkit units) from which the tracking limits are reported.
    void set_client_size_limits(point minimum, point maximum) noexcept
    {
        minimum_client_ = minimum;
        maximum_client_ = maximum;
    }
    point minimum_client_size() const noexcept { return minimum_client_; }
    point maximum_client_size() const noexcept { return maximum_client_; }

    bool modal_running() const noexcept { return modal_running_; }
    void set_modal_running(bool running) noexcept { modal_running_ = running; }

    timer_table& timers() noexcept { return timers_; }

    native_drop_target& drop_target() noexcept { return drop_target_; }

    // The outer size of a window whose client area has the given size in pixels.
    static SIZE outer_size(std::int32_t client_width, std::int32_t client_height);

    // The native window of a platform window of the toolkit's class; none before it is bound.
    static native_window* from_handle(HWND handle) noexcept;

private:
    // First, so that OLE is initialised before anything else of the window and undone after it.
    native_drop_target drop_target_;
    HWND handle_ = nullptr;
    window* window_ = nullptr;
    bool modal_running_ = false;
    timer_table timers_;
    dpi_scale dpi_{0, 0};
    point minimum_client_{0, 0};
    point maximum_client_{100000, 100000};
};

}  // namespace qxsdk::ui
