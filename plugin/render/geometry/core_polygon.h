#pragma once

#include <cstdint>
#include <vector>

namespace kyrox {

// A point of an outline, in pixels of the render planes.
struct OutlinePoint {
    float x = 0.0f;
    float y = 0.0f;
};

// How coverage fills an outline: the blade from the leftmost to the rightmost crossing of every
// scanline, a path piece by the nonzero winding rule.
enum class PolygonKind : std::uint8_t { blade = 0, path_piece = 1 };

// One outline handed from outline building to coverage. The outline closes from the last point
// back to the first.
struct CorePolygon {
    PolygonKind kind = PolygonKind::blade;
    float intensity = 1.0f;  // weight of the coverage in the glow source plane
    std::vector<OutlinePoint> points;
};

}  // namespace kyrox
