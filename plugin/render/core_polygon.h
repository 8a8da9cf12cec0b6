#pragma once

#include <cstdint>
#include <vector>

namespace kyrox {

// A point of an outline, in pixels of the render planes.
struct OutlinePoint {
    float x = 0.0f;
    float y = 0.0f;
};

// One outline handed from outline building to coverage. kind 0 is the blade, filled from the
// leftmost to the rightmost crossing of every scanline; kind 1 is a path piece, filled by the
// nonzero winding rule. The outline closes from the last point back to the first.
struct CorePolygon {
    std::uint8_t kind = 0;
    float intensity = 1.0f;  // weight of the coverage in the glow source plane
    std::vector<OutlinePoint> points;
};

}  // namespace kyrox
