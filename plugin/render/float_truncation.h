#pragma once

#include <concepts>
#include <cstdint>
#include <limits>

namespace kyrox {

// v truncated towards zero, saturated to the range of std::int32_t; NaN gives 0. The bounds are the range's ends
// as T holds them: in float the upper one rounds up to 2^31, the first value the cast could not hold.
template <std::floating_point T>
constexpr std::int32_t truncate_to_int32(T v) noexcept
{
    constexpr T lowest = static_cast<T>(std::numeric_limits<std::int32_t>::min());
    constexpr T highest = static_cast<T>(std::numeric_limits<std::int32_t>::max());
    if (!(v == v)) {
        return 0;
    }
    if (v <= lowest) {
        return std::numeric_limits<std::int32_t>::min();
    }
    if (v >= highest) {
        return std::numeric_limits<std::int32_t>::max();
    }
    return static_cast<std::int32_t>(v);
}

}  // namespace kyrox
