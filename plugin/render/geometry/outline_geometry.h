#pragma once

// Point arithmetic the outline builders share: coordinates kept in a safe range and directions.

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <span>

#include "plugin/render/geometry/core_polygon.h"

namespace kyrox {

// Coordinates are kept within +-2^40 pixels: far beyond any frame, yet small enough that no
// difference or interpolation between two of them overflows a float, even scaled to sub-samples.
inline constexpr float outline_coordinate_limit = 1099511627776.0f;

inline bool is_finite_point(OutlinePoint p) noexcept
{
    return std::isfinite(p.x) && std::isfinite(p.y);
}

inline bool is_finite_outline(std::span<const OutlinePoint> points) noexcept
{
    return std::all_of(points.begin(), points.end(), is_finite_point);
}

inline OutlinePoint clamp_to_limit(OutlinePoint p) noexcept
{
    return {std::clamp(p.x, -outline_coordinate_limit, outline_coordinate_limit),
            std::clamp(p.y, -outline_coordinate_limit, outline_coordinate_limit)};
}

// trunc(v) toward zero, with v first clamped to [lo, hi] so the conversion is always defined;
// NaN gives lo.
inline std::int32_t clamped_trunc(double v, std::int32_t lo, std::int32_t hi) noexcept
{
    if (!(v >= lo)) {
        return lo;
    }
    if (v >= hi) {
        return hi;
    }
    return static_cast<std::int32_t>(v);
}

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
