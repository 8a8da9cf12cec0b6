#pragma once

#include <cstdint>
#include <mutex>
#include <span>
#include <vector>

#include "plugin/render/coverage/scanline_crossings.h"
#include "plugin/render/geometry/core_polygon.h"

namespace kyrox {

// The sub-scanlines first <= v < last that one outline's coverage walks.
struct SubRowRange {
    std::int32_t first = 0;
    std::int32_t last = 0;
};

// The edges of make_sorted_edges that cross at least one sub-scanline of the range, sorted by ymin.
// No other edge takes part in a crossing of those sub-scanlines, so an outline reaching far beyond
// the planes costs no more per row than its part within their rows. Equal ymin may come in another
// order than in the whole list (the sort's order of equal keys depends on every key it is given).
struct RowRangeEdges {
    std::vector<EdgeRecord> edges;
    bool ymin_repeats = false;  // some kept edges share a ymin
};
RowRangeEdges make_row_range_edges(std::span<const OutlinePoint> points, float scale, SubRowRange rows);

// The same edges in exactly the order the whole sorted list gives them, built on first use by
// whichever row job asks first; only a sub-scanline whose crossings' order could depend on it needs
// them (see collect_span_crossings).
class WholeOrderEdges {
public:
    WholeOrderEdges(std::span<const OutlinePoint> points, float scale, SubRowRange rows) noexcept
        : points_(points), scale_(scale), rows_(rows)
    {
    }

    std::span<const EdgeRecord> edges();

private:
    std::span<const OutlinePoint> points_;
    float scale_;
    SubRowRange rows_;
    std::once_flag built_;
    std::vector<EdgeRecord> edges_;
};

}  // namespace kyrox
