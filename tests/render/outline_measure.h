#pragma once

#include <cmath>
#include <vector>

#include "plugin/render/geometry/core_polygon.h"

// Exact measures of a closed outline, for checking what is built or filled from it.
namespace outline_measure {

inline double area(const std::vector<kyrox::OutlinePoint>& points)
{
    double twice = 0.0;
    for (std::size_t i = 0; i < points.size(); ++i) {
        const kyrox::OutlinePoint& a = points[i];
        const kyrox::OutlinePoint& b = points[(i + 1) % points.size()];
        twice += static_cast<double>(a.x) * b.y - static_cast<double>(b.x) * a.y;
    }
    return std::abs(twice) * 0.5;
}

inline double perimeter(const std::vector<kyrox::OutlinePoint>& points)
{
    double length = 0.0;
    for (std::size_t i = 0; i < points.size(); ++i) {
        const kyrox::OutlinePoint& a = points[i];
        const kyrox::OutlinePoint& b = points[(i + 1) % points.size()];
        length += std::hypot(static_cast<double>(b.x) - a.x, static_cast<double>(b.y) - a.y);
    }
    return length;
}

}  // namespace outline_measure
