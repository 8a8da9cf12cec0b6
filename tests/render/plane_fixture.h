#pragma once

#include <cstdint>

#include "plugin/render/render_inputs.h"
#include "plugin/render/float_plane.h"

namespace kyrox::testing {

inline WorldView sized_view(std::int32_t width, std::int32_t height)
{
    WorldView view;
    view.width = width;
    view.height = height;
    return view;
}

// A float plane of the given size with every cell at value.
inline FloatPlane filled_plane(std::int32_t width, std::int32_t height, float value)
{
    FloatPlane plane{sized_view(width, height)};
    for (std::int32_t i = 0; i < height; ++i) {
        for (float& cell : plane.row(i)) {
            cell = value;
        }
    }
    return plane;
}

}  // namespace kyrox::testing
