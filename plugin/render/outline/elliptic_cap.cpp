#include "plugin/render/outline/elliptic_cap.h"

#include <algorithm>
#include <cmath>

#include "plugin/render/geometry/outline_geometry.h"

namespace kyrox {

namespace {

constexpr float pi = 3.1415927f;
constexpr float half_pi = 1.5707964f;
constexpr std::int32_t max_cap_points = 4096;

}  // namespace

std::int32_t cap_point_count(CapSize cap) noexcept
{
    return std::max(4, clamped_trunc(std::max(cap.half_width, cap.length), 0, max_cap_points));
}

void append_elliptic_cap(std::vector<OutlinePoint>& out, CapEnd end, OutlinePoint c, OutlinePoint d, float a, float b,
                         std::int32_t count)
{
    const float phi = std::atan2(d.y, d.x) + half_pi;
    const OutlinePoint n{-d.y, d.x};
    // The side where the cap begins; its angle round the centre, taken relative to the normal, is 0
    // (start) or pi (end) up to rounding. Where the side falls on the centre (no direction, or no
    // width) that angle says nothing, and the nominal one keeps the cap a half ellipse.
    const float sign = end == CapEnd::start ? -1.0f : 1.0f;
    const OutlinePoint side{c.x + sign * (a * n.x), c.y + sign * (a * n.y)};
    const float off_x = c.x - side.x;
    const float off_y = c.y - side.y;
    float t = 0.0f;
    if (off_x == 0.0f && off_y == 0.0f) {
        t = end == CapEnd::start ? 0.0f : pi;
    } else {
        t = std::atan2(off_y, off_x) - phi;
    }
    const float step = pi / static_cast<float>(count - 1);
    const float cos_phi = std::cos(phi);
    const float sin_phi = std::sin(phi);
    for (std::int32_t i = 0; i < count; ++i) {
        const float ca = a * std::cos(t);
        const float sb = b * std::sin(t);
        out.push_back({c.x - (cos_phi * ca - sin_phi * sb), c.y - (sin_phi * ca + cos_phi * sb)});
        t -= step;
    }
}

}  // namespace kyrox
