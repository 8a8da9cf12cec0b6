#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "plugin/render/coverage/edge_record.h"
#include "plugin/render/outline/core_polygon.h"

namespace kyrox {

// One crossing of a sub-scanline with an edge, in sub-sample units. direction is 1 when the edge
// runs from its smaller to its larger y (from (x0, y0) to (x1, y1)), else 0.
struct Crossing {
    float x = 0.0f;
    std::int32_t rounded_x = 0;
    std::uint8_t direction = 0;
    std::int32_t edge = 0;
};

// The crossings of sub-scanline v: found from the cursor on, sorted by x, reduced to span ends by the
// fill rule of kind (a blade: leftmost to rightmost; a path piece: nonzero winding) and widened so
// that each span reaches the outermost x its edges take within the band [v, v + 1]. Rounded x values
// are clamped to [-1, row_end], which changes no span of the row [0, row_end) but keeps the conversion defined.
void collect_span_crossings(std::vector<Crossing>& out, std::span<const EdgeRecord> edges, std::size_t& cursor,
                            std::int32_t v, PolygonKind kind, std::int32_t row_end);

// Same count and the same rounded x in every crossing: two sub-scanlines that add the same spans.
bool same_span_ends(std::span<const Crossing> a, std::span<const Crossing> b) noexcept;

}  // namespace kyrox
