#include "plugin/render/coverage/row_range_edges.h"

#include <algorithm>
#include <cmath>

namespace kyrox {

namespace {

// An edge crosses sub-scanline v when ymin < float(v) <= ymax. float(v) is a whole number that grows
// with v, so a crossing needs a whole number in (ymin, ymax] and a value between float(first) and
// float(last - 1); an edge failing either test crosses none of the range. Horizontal edges fail.
struct OutsideRows {
    float low;
    float high;

    bool operator()(const EdgeRecord& e) const noexcept
    {
        return !(std::floor(e.ymax) > e.ymin && e.ymax >= low && e.ymin < high);
    }
};

OutsideRows outside(SubRowRange rows) noexcept
{
    return {static_cast<float>(rows.first), static_cast<float>(rows.last - 1)};
}

}  // namespace

RowRangeEdges make_row_range_edges(std::span<const OutlinePoint> points, float scale, SubRowRange rows)
{
    const OutsideRows skip = outside(rows);
    RowRangeEdges kept;
    for (std::size_t i = 0; i < points.size(); ++i) {
        const EdgeRecord e = edge_of_point(points, i, scale);
        if (!skip(e)) {
            kept.edges.push_back(e);
        }
    }
    sort_by_ymin(kept.edges);
    const auto same_ymin = [](const EdgeRecord& a, const EdgeRecord& b) { return a.ymin == b.ymin; };
    kept.ymin_repeats = std::adjacent_find(kept.edges.begin(), kept.edges.end(), same_ymin) != kept.edges.end();
    return kept;
}

std::span<const EdgeRecord> WholeOrderEdges::edges()
{
    std::call_once(built_, [this] {
        edges_ = make_sorted_edges(points_, scale_);
        std::erase_if(edges_, outside(rows_));
    });
    return edges_;
}

}  // namespace kyrox
