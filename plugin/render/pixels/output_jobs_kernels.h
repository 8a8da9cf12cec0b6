#pragma once

// The row kernel that colourises 8-bit pixels on the AVX2 path, for output_jobs.cpp and the tests:
// the common case of no layer mask on the glow, a composite that stores the colour as it is (not
// Add) and gamma 1. Each lane computes what the one-pixel path computes, with the same operations
// in the same order, so the bytes are identical.

#include <cstddef>
#include <cstdint>
#include <span>

#include "plugin/platform/simd/lanes.h"
#include "plugin/render/pixels/color_ramp.h"
#include "plugin/render/pixels/pixel_depth.h"

namespace kyrox {

// One row's planes, each at least as long as the pixels to write. core is read only when the
// core blends on top.
struct ColorizeRow {
    std::span<const float> glow;
    std::span<const float> halo;
    std::span<const float> core;
    float brightness = 1.0f;
    bool core_on_top = false;
};

// The intensity of one cell of a colourised glow frame: the glow screened with the halo, then with
// the core when it blends on top (0 otherwise). Shared by the one-pixel and the wide path.
template <class V>
KYROX_LANES V screened_intensity(V glow, V halo, V core, float brightness, bool core_on_top) noexcept
{
    using simd::positive;  // the lane types' overloads are found by their arguments
    const V h = brightness * halo;
    const V o = core_on_top ? brightness * core : V(0.0f);
    return (positive(1.0f - h) * glow + h) * positive(1.0f - o) + o;
}

// Writes the first multiple of eight pixels of out and returns how many. The ramp must not be
// empty. Only on the AVX2 path.
std::size_t colorize_row_avx2(const ColorizeRow& row, std::span<const RampEntry> ramp, float saturation,
                              std::span<Pixel<std::uint8_t>> out) noexcept;

}  // namespace kyrox
