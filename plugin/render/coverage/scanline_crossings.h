#pragma once

#include <algorithm>
#include <cstdint>
#include <span>
#include <vector>

#include "plugin/render/geometry/core_polygon.h"

namespace kyrox {

// One edge of a closed outline: from a point (x0, y0) back to the point before it (x1, y1).
struct EdgeRecord {
    float x0 = 0.0f;
    float y0 = 0.0f;
    float x1 = 0.0f;
    float y1 = 0.0f;
    float ymin = 0.0f;
    float ymax = 0.0f;
};

// The edge from point i of the closed outline to the point before it (the first to the last), with
// the coordinates multiplied by scale.
inline EdgeRecord edge_of_point(std::span<const OutlinePoint> points, std::size_t i, float scale) noexcept
{
    const OutlinePoint& p = points[i];
    const OutlinePoint& before = points[i == 0 ? points.size() - 1 : i - 1];
    EdgeRecord e{p.x * scale, p.y * scale, before.x * scale, before.y * scale, 0.0f, 0.0f};
    e.ymin = std::min(e.y0, e.y1);
    e.ymax = std::max(e.y0, e.y1);
    return e;
}

// Sorts by ymin; equal ymin end in an order that depends on the whole list.
void sort_by_ymin(std::vector<EdgeRecord>& edges);

// The edges of the closed outline, every point joined to the point before it (the first to the
// last), with the coordinates multiplied by scale, sorted by ymin (equal ymin in no fixed order).
std::vector<EdgeRecord> make_sorted_edges(std::span<const OutlinePoint> points, float scale);

// Half-open rule: an edge crosses scanline y when y lies in (lower end, upper end]; horizontal
// edges never cross.
inline bool edge_crosses(const EdgeRecord& e, float y) noexcept
{
    return (e.y0 < y && y <= e.y1) || (e.y1 < y && y <= e.y0);
}

// x of the edge's line at y.
inline float edge_x_at(const EdgeRecord& e, float y) noexcept
{
    return (y - e.y0) / (e.y1 - e.y0) * (e.x1 - e.x0) + e.x0;
}

// Walks the edges that can cross scanline y, in sorted order, starting at cursor: edges that end
// above y are passed over, the walk stops at the first edge that starts below y. The cursor moves to
// the first edge that is neither; since scanlines are visited top-down, edges before it can never
// cross again. visit(edge index) is called for every edge crossing y.
template <class Visit>
void for_each_crossing_edge(std::span<const EdgeRecord> edges, std::size_t& cursor, float y, Visit&& visit)
{
    bool cursor_set = false;
    for (std::size_t i = cursor; i < edges.size(); ++i) {
        const EdgeRecord& e = edges[i];
        if (e.ymax < y) {
            continue;
        }
        if (e.ymin > y) {
            break;
        }
        if (!cursor_set) {
            cursor = i;
            cursor_set = true;
        }
        if (edge_crosses(e, y)) {
            visit(i);
        }
    }
}

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
// Returns whether the crossings' sorted order could differ had edges of equal ymin come in another order.
bool collect_span_crossings(std::vector<Crossing>& out, std::span<const EdgeRecord> edges, std::size_t& cursor,
                            std::int32_t v, PolygonKind kind, std::int32_t row_end);

// Same count and the same rounded x in every crossing: two sub-scanlines that add the same spans.
bool same_span_ends(std::span<const Crossing> a, std::span<const Crossing> b) noexcept;

}  // namespace kyrox
