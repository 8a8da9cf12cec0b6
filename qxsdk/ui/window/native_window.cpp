#include "qxsdk/ui/window/native_window.h"

#include "qxsdk/ui/window/display_dpi.h"
#include "qxsdk/ui/window/window_class.h"

namespace qxsdk::ui {

native_window::~native_window()
{
    drop_target_.revoke();
    // Destroying the platform window ends its timers too.
    if (handle_ != nullptr) {
        SetWindowLongPtrW(handle_, GWLP_USERDATA, 0);
        DestroyWindow(handle_);
    }
}

SIZE native_window::outer_size(std::int32_t client_width, std::int32_t client_height)
{
    RECT frame{0, 0, client_width, client_height};
    AdjustWindowRectEx(&frame, style, FALSE, extended_style);
    return {frame.right - frame.left, frame.bottom - frame.top};
}

native_window* native_window::from_handle(HWND handle) noexcept
{
    return reinterpret_cast<native_window*>(GetWindowLongPtrW(handle, GWLP_USERDATA));
}

void native_window::create(native_window* owner, window& toolkit_window, const rect& area)
{
    window_ = &toolkit_window;
    const std::wstring& class_name = window_class_name();

    dpi_ = read_screen_dpi();
    const SIZE outer = outer_size(dpi_.width_to_pixels(area.width), dpi_.height_to_pixels(area.height));
    handle_ = CreateWindowExW(extended_style, class_name.c_str(), L"", style, area.x, area.y, outer.cx, outer.cy,
                              owner != nullptr ? owner->handle_ : nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    if (handle_ != nullptr) {
        SetWindowLongPtrW(handle_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        drop_target_.register_for(*this, handle_);
    }
}

}  // namespace qxsdk::ui
