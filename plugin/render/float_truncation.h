#pragma once

#include <cstdint>
#include <limits>

namespace kyrox {

// v truncated towards zero, saturated to the range of std::int32_t; NaN gives 0.
inline std::int32_t truncate_to_int32(float v) noexcept
{
    if (!(v == v)) {
        return 0;
    }
    if (v >= 2147483648.0f) {
        return std::numeric_limits<std::int32_t>::max();
    }
    if (v <= -2147483648.0f) {
        return std::numeric_limits<std::int32_t>::min();
    }
    return static_cast<std::int32_t>(v);
}

}  // namespace kyrox
