#include "plugin/render/coverage/row_spans.h"

#include <algorithm>
#include <limits>

#include "plugin/render/geometry/outline_geometry.h"

namespace kyrox {

namespace {

// No frame reaches this far; the bound keeps a far-away outline from asking for millions of rows.
constexpr std::int32_t max_row = 1 << 16;

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

std::vector<OutlinePoint> row_monotone_outline(WorkerPool& pool, std::span<const OutlinePoint> points)
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
    const std::vector<EdgeRecord> edges = make_sorted_edges(points, 1.0f);
    const auto chunks = static_cast<std::size_t>(std::max(1, pool.thread_count()));
    RowSpanLists lists{std::vector<std::vector<OutlinePoint>>(chunks), std::vector<std::vector<OutlinePoint>>(chunks)};
    parallel_for(
        pool, [&](const ThreadWorkData& work) { return find_row_spans(work, y_top, edges, lists); }, y_bottom - y_top);
    for (const auto& side : lists.left) {
        outline.insert(outline.end(), side.begin(), side.end());
    }
    for (auto side = lists.right.rbegin(); side != lists.right.rend(); ++side) {
        outline.insert(outline.end(), side->rbegin(), side->rend());
    }
    return outline;
}

}  // namespace kyrox
