#include "qxsdk/ui/window/keyboard.h"

#include <windows.h>

#include "qxsdk/ui/core/window_base.h"

namespace qxsdk::ui {

namespace {

bool held(int virtual_key)
{
    return (GetKeyState(virtual_key) & 0x8000) != 0;
}

}  // namespace

bool is_key_down(int kind)
{
    switch (kind) {
    case key_kind::ctrl_without_alt_gr:
        return (held(VK_LCONTROL) || held(VK_RCONTROL)) && !held(VK_RMENU);
    case key_kind::left_ctrl:
        return held(VK_LCONTROL);
    case key_kind::right_ctrl:
        return held(VK_RCONTROL);
    case key_kind::shift:
        return held(VK_LSHIFT) || held(VK_RSHIFT);
    case key_kind::left_shift:
        return held(VK_LSHIFT);
    case key_kind::right_shift:
        return held(VK_RSHIFT);
    case key_kind::alt:
        return held(VK_LMENU) || held(VK_RMENU);
    case key_kind::left_alt:
        return held(VK_LMENU);
    case key_kind::right_alt:
        return held(VK_RMENU);
    case key_kind::space:
        return held(VK_SPACE);
    default:
        return false;
    }
}

}  // namespace qxsdk::ui
