#pragma once

#include <algorithm>
#include <cstdint>

#include "plugin/render/float_truncation.h"

namespace kyrox {

// Plane indices first <= index < end (rows or columns) whose output position, index + shift,
// lies inside an output of the given extent; empty (end <= first) when none does.
struct IndexRange {
    std::int32_t first = 0;
    std::int32_t end = 0;
};

inline IndexRange output_range(std::int32_t first, std::int32_t end, std::int32_t shift,
                               std::int32_t output_extent) noexcept
{
    const std::int64_t lo = std::min<std::int64_t>(std::max<std::int64_t>({first, 0, -std::int64_t{shift}}), end);
    const std::int64_t hi = std::min<std::int64_t>(end, std::int64_t{output_extent} - shift);
    if (hi <= lo) {
        return {first, first};
    }
    return {static_cast<std::int32_t>(lo), static_cast<std::int32_t>(hi)};
}

// The output position of plane index 0 for one coordinate of the plane offset.
inline std::int32_t plane_shift(float offset) noexcept
{
    return truncate_to_int32(offset);
}

}  // namespace kyrox
