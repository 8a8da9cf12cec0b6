#pragma once

#include <algorithm>
#include <cstdint>

namespace kyrox {

// Plane indices first <= index < end (rows or columns) that lie inside an output of the given
// extent (plane index i is output index i); empty (end <= first) when none does.
struct IndexRange {
    std::int32_t first = 0;
    std::int32_t end = 0;
};

inline IndexRange output_range(std::int32_t first, std::int32_t end, std::int32_t output_extent) noexcept
{
    const std::int32_t lo = std::min(std::max(first, 0), end);
    const std::int32_t hi = std::min(end, output_extent);
    if (hi <= lo) {
        return {first, first};
    }
    return {lo, hi};
}

}  // namespace kyrox
