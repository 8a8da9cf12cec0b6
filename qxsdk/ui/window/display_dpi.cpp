#include "qxsdk/ui/window/display_dpi.h"

#include <windows.h>

#include <memory>

namespace qxsdk::ui {

namespace {

struct screen_dc_release {
    void operator()(HDC dc) const noexcept { ReleaseDC(nullptr, dc); }
};

}  // namespace

dpi_scale read_screen_dpi()
{
    const std::unique_ptr<std::remove_pointer_t<HDC>, screen_dc_release> screen(GetDC(nullptr));
    return {GetDeviceCaps(screen.get(), LOGPIXELSX), GetDeviceCaps(screen.get(), LOGPIXELSY)};
}

dpi_scale screen_dpi()
{
    static const dpi_scale dpi = read_screen_dpi();
    return dpi;
}

}  // namespace qxsdk::ui
