#pragma once

#include <cstdint>
#include <vector>

#include "plugin/render/geometry/core_polygon.h"

namespace kyrox {

// Half width across the core and semi-axis along it of one end of the core, in pixels.
struct CapSize {
    float half_width = 0.0f;
    float length = 0.0f;
};

enum class CapEnd : std::uint8_t { start, end };

// About one point per pixel of the larger semi-axis, never fewer than 4. Bounded above so that a
// huge or non-finite size cannot ask for an unbounded outline.
std::int32_t cap_point_count(CapSize cap) noexcept;

// Appends count points of the half ellipse round centre c, for unit travel direction d (or zero), with
// semi-axis a across the core and b along it. A start cap runs from the right side (c - a n, n the
// left normal) round the back to the left side; an end cap from the left side round the front to
// the right side.
void append_elliptic_cap(std::vector<OutlinePoint>& out, CapEnd end, OutlinePoint c, OutlinePoint d, float a, float b,
                         std::int32_t count);

}  // namespace kyrox
