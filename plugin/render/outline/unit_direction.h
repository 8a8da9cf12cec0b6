#pragma once

#include <cmath>

#include "plugin/render/outline/core_polygon.h"

namespace kyrox {

// The direction from p to q normalised, or the zero vector when the points coincide.
inline OutlinePoint unit_direction(OutlinePoint p, OutlinePoint q) noexcept
{
    const float dx = q.x - p.x;
    const float dy = q.y - p.y;
    const float length = std::hypot(dx, dy);  // no overflow for far-apart points
    if (length == 0.0f) {
        return {dx, dy};
    }
    return {dx / length, dy / length};
}

}  // namespace kyrox
