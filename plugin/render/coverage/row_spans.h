#pragma once

#include <cstdint>
#include <limits>
#include <span>
#include <vector>

#include "plugin/render/geometry/core_polygon.h"
#include "plugin/render/coverage/scanline_crossings.h"
#include "plugin/render/worker_pool.h"

namespace kyrox {

// Leftmost and rightmost crossing of every scanline, one list of each per chunk of the row batch.
struct RowSpanLists {
    std::vector<std::vector<OutlinePoint>> left;
    std::vector<std::vector<OutlinePoint>> right;
};

// Row job over scanlines first_row + begin .. first_row + end - 1: appends (leftmost x, y) and
// (rightmost x, y) of each scanline that the edges cross to the lists of the chunk's index.
bool find_row_spans(const ThreadWorkData& work, std::int32_t first_row, std::span<const EdgeRecord> edges,
                    RowSpanLists& lists);

// Pixel rows first <= y < last that the outline is filled on (a plane's rows); by default every row.
struct RowWindow {
    std::int32_t first = std::numeric_limits<std::int32_t>::min();
    std::int32_t last = std::numeric_limits<std::int32_t>::max();
};

// The row-monotone outline of the closed point list on the integer scanlines strictly inside its
// y range: the left side top-down, then the right side bottom-up. The scanlines run on the pool.
// Within the window and one row beyond it on each side every point is the scanline's crossing;
// further out each row keeps its point, at the outline's leftmost or rightmost x (see row_monotone_outline).
std::vector<OutlinePoint> row_monotone_outline(WorkerPool& pool, std::span<const OutlinePoint> points,
                                               RowWindow window = {});

}  // namespace kyrox
