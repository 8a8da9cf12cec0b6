#pragma once

namespace kyrox {

inline constexpr float int_range_low = -2147483648.0f;
inline constexpr float int_range_end = 2147483648.0f;

// Rounds towards minus infinity through int truncation. Values outside the int range are already whole
// (or NaN) and come back unchanged.
constexpr float noise_floor(float v)
{
    if (!(v >= int_range_low && v < int_range_end)) {
        return v;
    }
    const float truncated = static_cast<float>(static_cast<int>(v));
    if (truncated == v) {
        return v;
    }
    return v < 0.0f ? truncated - 1.0f : truncated;
}

// The permutation cell 0..255 of a floored value. A whole float outside the int range is a multiple of 256
// and so lies in cell 0; NaN is sent there too and propagates through the fraction instead.
constexpr int noise_cell_index(float floored)
{
    if (!(floored >= int_range_low && floored < int_range_end)) {
        return 0;
    }
    return static_cast<int>(floored) & 0xff;
}

}  // namespace kyrox
