#pragma once

#include <cstdint>

#include "qxsdk/ui/core/style_key.h"
#include "qxsdk/ui/core/style_lookup.h"
#include "qxsdk/ui/core/widget.h"
#include "qxsdk/ui/draw/image.h"
#include "qxsdk/ui/draw/renderer.h"

// What the controls share to lay out and draw: their window's renderer, the focus, fonts named by style keys
// and picture strips named by a style key.
namespace qxsdk::ui {

// The renderer of the window a control is attached to. Throws std::logic_error when it is attached to none,
// or to a window that is not created yet: laying out needs the window's renderer.
renderer& control_renderer(const widget& control);

// Whether the control is its window's focused widget.
bool has_focus(const widget& control) noexcept;

// The four keys a control reads its font from.
struct font_keys {
    style_key name;
    style_key style;
    style_key weight;
    style_key size;
};

// The renderer's font for the texts that follow, from the control's style.
void set_style_font(renderer& drawing, const style_block& style, const font_keys& keys);

// Decodes the strip into the picture unless it is loaded already; whether the picture is loaded afterwards.
// A strip that names no picture (no bytes, or fewer than one frame) or cannot be decoded leaves it unloaded.
bool load_picture_strip(image& picture, const image_reference& strip);

}  // namespace qxsdk::ui
