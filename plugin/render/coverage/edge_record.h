#pragma once

#include <span>
#include <vector>

#include "plugin/render/outline/core_polygon.h"

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

}  // namespace kyrox
