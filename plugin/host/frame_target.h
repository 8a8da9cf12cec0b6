#pragma once

#include <cstdint>

#include "plugin/host/world_view.h"

namespace kyrox {

// The buffers and factors of the current smart render, as the renderer reads them.
struct FrameTarget {
    WorldView input_view;
    WorldView output_view;
    float downsample_x = 0.0f;  // 2.0 at half resolution
    float downsample_y = 0.0f;
    std::int32_t output_origin_x = 0;
    std::int32_t output_origin_y = 0;
    float pixel_aspect = 0.0f;
    std::uint8_t bytes_per_channel = 0;  // 1, 2 or 4; 0 for a depth the renderer does not draw
};

}  // namespace kyrox
