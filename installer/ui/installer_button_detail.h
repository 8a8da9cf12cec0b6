#pragma once

// The button's two border colours, which the wizard never reads; the tests check the hover border
// against them.

#include "qxsdk/ui/core/style_value.h"

namespace installer::ui {

inline constexpr qxsdk::ui::color button_border_normal{0.4f, 0.4f, 0.4f, 1.0f};
inline constexpr qxsdk::ui::color button_border_hover{0.6f, 0.6f, 0.6f, 1.0f};

}  // namespace installer::ui
