#include "plugin/render/coverage/row_spans.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "plugin/render/geometry/outline_geometry.h"

namespace kyrox {

namespace {

// No frame reaches this far; the bound keeps a far-away outline from asking for millions of rows.
constexpr std::int32_t max_row = 1 << 16;

// Smallest and largest x of every crossing of the edges with the scanlines rows.first <= y < rows.last.
// Each operation of edge_x_at rounds monotonically, so along one edge x is monotone in y: its crossings
// lie between those of its first and last crossed scanline, and only those two are computed.
struct CrossingExtent {
    float min_x = std::numeric_limits<float>::infinity();
    float max_x = -std::numeric_limits<float>::infinity();
};

CrossingExtent crossing_extent(std::span<const EdgeRecord> edges, RowWindow rows)
{
    CrossingExtent extent;
    for (const EdgeRecord& e : edges) {
        // Scanline y crosses the edge when ymin < y <= ymax.
        const std::int32_t top = clamped_trunc(std::floor(static_cast<double>(e.ymin)) + 1.0, rows.first, rows.last);
        const std::int32_t bottom =
            clamped_trunc(std::floor(static_cast<double>(e.ymax)), rows.first - 1, rows.last - 1);
        if (bottom < top) {
            continue;
        }
        const float x_top = edge_x_at(e, static_cast<float>(top));
        const float x_bottom = edge_x_at(e, static_cast<float>(bottom));
        extent.min_x = std::min({extent.min_x, x_top, x_bottom});
        extent.max_x = std::max({extent.max_x, x_top, x_bottom});
    }
    return extent;
}

void append_rows(std::vector<OutlinePoint>& out, float x, std::int32_t first, std::int32_t last)
{
    for (std::int32_t r = first; r < last; ++r) {
        out.push_back({x, static_cast<float>(r)});
    }
}

void append_rows_upwards(std::vector<OutlinePoint>& out, float x, std::int32_t first, std::int32_t last)
{
    for (std::int32_t r = last - 1; r >= first; --r) {
        out.push_back({x, static_cast<float>(r)});
    }
}

}  // namespace

bool find_row_spans(const ThreadWorkData& work, std::int32_t first_row, std::span<const EdgeRecord> edges,
                    RowSpanLists& lists)
{
    const auto chunk = static_cast<std::size_t>(work.index);
    std::vector<OutlinePoint>& left = lists.left.at(chunk);
    std::vector<OutlinePoint>& right = lists.right.at(chunk);
    std::size_t cursor = 0;
    for (std::int32_t r = work.begin; r < work.end; ++r) {
        const auto y = static_cast<float>(first_row + r);
        float min_x = std::numeric_limits<float>::infinity();
        float max_x = -std::numeric_limits<float>::infinity();
        bool crossed = false;
        for_each_crossing_edge(edges, cursor, y, [&](std::size_t i) {
            const float x = edge_x_at(edges[i], y);
            min_x = std::min(min_x, x);
            max_x = std::max(max_x, x);
            crossed = true;
        });
        if (crossed) {
            left.push_back({min_x, y});
            right.push_back({max_x, y});
        }
    }
    return true;
}

// The fill on the window's rows (fill_polygon_coverage) reads only edges that cross its sub-scanlines;
// an edge between rows r and r + 1 crosses those within (r, r + 1], so only rows window.first - 1 to
// window.last need their true crossings, and only those are walked. Every other row keeps its point and
// y, so every edge keeps its ymin: the fill may take edges of equal ymin in the order std::sort gives the
// whole list, which depends on all of them. Such a row's x is the outline's leftmost (left side) or
// rightmost (right side) crossing, which keeps the bounds that size the glow and core rectangles (up to
// the sign of a zero x, which no rectangle sees).
std::vector<OutlinePoint> row_monotone_outline(WorkerPool& pool, std::span<const OutlinePoint> points, RowWindow window)
{
    std::vector<OutlinePoint> outline;
    if (points.empty()) {
        return outline;
    }
    const auto [lowest, highest] =
        std::minmax_element(points.begin(), points.end(), [](OutlinePoint a, OutlinePoint b) { return a.y < b.y; });
    const std::int32_t y_top = clamped_trunc(lowest->y, -max_row, max_row);
    const std::int32_t y_bottom = clamped_trunc(highest->y, -max_row, max_row);
    if (y_bottom <= y_top) {
        return outline;
    }
    // A closed outline crosses every scanline y with lowest < y <= highest, and no other: the rows
    // with points are one run.
    const std::int32_t first = clamped_trunc(std::floor(static_cast<double>(lowest->y)) + 1.0, y_top, y_bottom);
    const std::int32_t last = clamped_trunc(std::floor(static_cast<double>(highest->y)), y_top - 1, y_bottom - 1) + 1;
    if (last <= first) {
        return outline;
    }
    // The walked rows, [first, last) cut to the window widened by a row each side; empty where they miss.
    const std::int32_t walk_first = std::clamp(window.first, first + 1, last + 1) - 1;
    const std::int32_t walk_last = std::clamp(window.last, walk_first - 1, last - 1) + 1;

    std::vector<EdgeRecord> edges = make_sorted_edges(points, 1.0f);
    CrossingExtent extent;
    if (walk_first > first || walk_last < last) {
        extent = crossing_extent(edges, {first, last});
    }
    // Each row's crossings visited in the same order as in the whole sorted list, so the same point.
    const auto top = static_cast<float>(walk_first);
    const auto bottom = static_cast<float>(walk_last - 1);
    std::erase_if(edges, [top, bottom](const EdgeRecord& e) { return e.ymax < top || e.ymin >= bottom; });
    const auto chunks = static_cast<std::size_t>(std::max(1, pool.thread_count()));
    RowSpanLists lists{std::vector<std::vector<OutlinePoint>>(chunks), std::vector<std::vector<OutlinePoint>>(chunks)};
    if (walk_last > walk_first) {
        parallel_for(
            pool, [&](const ThreadWorkData& work) { return find_row_spans(work, walk_first, edges, lists); },
            walk_last - walk_first);
    }
    outline.reserve(2 * static_cast<std::size_t>(last - first));
    append_rows(outline, extent.min_x, first, walk_first);
    for (const auto& side : lists.left) {
        outline.insert(outline.end(), side.begin(), side.end());
    }
    append_rows(outline, extent.min_x, walk_last, last);
    append_rows_upwards(outline, extent.max_x, walk_last, last);
    for (auto side = lists.right.rbegin(); side != lists.right.rend(); ++side) {
        outline.insert(outline.end(), side->rbegin(), side->rend());
    }
    append_rows_upwards(outline, extent.max_x, first, walk_first);
    return outline;
}

}  // namespace kyrox
