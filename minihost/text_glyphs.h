#pragma once

#include <string>

#include "minihost/scene_model.h"

namespace minihost {

// The pixel sizes text is set in. At the largest, the size in FreeType's 26.6 fixed point is 2^18, so its
// 16.16 scale and every glyph coordinate (a few em) stay far inside 32 bits, and one glyph's bitmap is a
// few em squared: tens of megabytes at most.
inline constexpr double smallest_text_size = 1.0;
inline constexpr double largest_text_size = 4096.0;

// Where and how a line of text is set.
struct TextSetting {
    std::string font_file;
    std::string text;
    double pixel_size = 48.0;
    double baseline_x = 0.0;  // pen position of the first glyph, in layer pixels
    double baseline_y = 0.0;
    A_long width = 0;  // the layer's pixel size
    A_long height = 0;
    int bytes_per_channel = 1;
};

// A text layer set in a real font: every glyph contour as a closed cubic path with absolute
// tangent points (quadratic arcs raised to cubic), and the rendered glyphs as the layer's pixels
// (white, coverage in alpha). Throws std::runtime_error when the font cannot be used or the size is
// outside smallest_text_size to largest_text_size.
CompLayer text_layer_from_font(const TextSetting& setting);

}  // namespace minihost
