#include "qxsdk/ui/window/cursors.h"

#include <windows.h>

#include <array>

namespace qxsdk::ui {

namespace {

using cursor_table = std::array<HCURSOR, 9>;

const cursor_table& cursors()
{
    // System cursors are shared: they are never destroyed.
    static const cursor_table table = [] {
        const std::array<LPCWSTR, 9> ids{IDC_ARROW, IDC_CROSS, IDC_SIZEWE,   IDC_SIZENS,  IDC_SIZENWSE,
                                         IDC_IBEAM, IDC_HAND,  IDC_SIZENWSE, IDC_SIZENESW};
        cursor_table loaded{};
        for (std::size_t i = 0; i < ids.size(); ++i) {
            loaded[i] = LoadCursorW(nullptr, ids[i]);
        }
        return loaded;
    }();
    return table;
}

}  // namespace

void set_cursor_kind(std::int32_t kind)
{
    const bool known = kind >= 1 && kind <= 8;
    SetCursor(cursors()[known ? static_cast<std::size_t>(kind) : 0]);
}

}  // namespace qxsdk::ui
