#pragma once

#include <cstdint>

#include "plugin/render/render_inputs.h"
#include "plugin/render/pixels/pixel_depth.h"

namespace kyrox {

// Whether (row, column) is a pixel of the view.
inline bool holds_pixel(const WorldView& view, std::int64_t row, std::int64_t column) noexcept
{
    return has_pixels(view) && row >= 0 && row < view.height && column >= 0 && column < view.width;
}

// The alpha of one pixel of a view of the depth of Channel, in 0..1; 0 where the view has no pixel.
template <class Channel>
float alpha_at(const WorldView& view, std::int64_t row, std::int64_t column) noexcept
{
    if (!holds_pixel(view, row, column)) {
        return 0.0f;
    }
    return PixelDepth<Channel>::channel_scale *
           static_cast<float>(
               pixel_row<Channel>(view, static_cast<std::int32_t>(row))[static_cast<std::size_t>(column)].alpha);
}

// The layer's alpha matte at an output pixel: the input's alpha, times the text layer's alpha
// (placed at its origin) when there is a text layer. Pixels outside either world are transparent.
template <class Channel>
float layer_matte(const WorldView& input, const WorldView& text, std::int32_t row, std::int32_t column) noexcept
{
    float m = alpha_at<Channel>(input, row, column);
    if (has_pixels(text)) {
        m *= alpha_at<Channel>(text, std::int64_t{row} - text.origin_y, std::int64_t{column} - text.origin_x);
    }
    return m;
}

}  // namespace kyrox
