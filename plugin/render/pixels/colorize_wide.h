#pragma once

// Colourising eight 8-bit pixels at once with AVX2, for the common case: no layer mask on the glow,
// a composite that stores the colour as it is (not Add) and gamma 1. Each lane computes what the
// one-pixel path computes, with the same operations in the same order, so the bytes are identical.

#include <cstddef>
#include <cstdint>
#include <span>

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
inline float screened_intensity(float glow, float halo, float core, float brightness, bool core_on_top) noexcept
{
    const float h = brightness * halo;
    const float o = core_on_top ? brightness * core : 0.0f;
    return (ramp_positive(1.0f - h) * glow + h) * ramp_positive(1.0f - o) + o;
}

// Writes the first multiple of eight pixels of out (and returns how many) when the processor has
// AVX2; writes nothing and returns 0 otherwise. The ramp must not be empty.
std::size_t colorize_row8(const ColorizeRow& row, std::span<const RampEntry> ramp, float saturation,
                          std::span<Pixel<std::uint8_t>> out) noexcept;

// The AVX2 body of colorize_row8, for tests on a processor with AVX2.
std::size_t colorize_row8_avx2(const ColorizeRow& row, std::span<const RampEntry> ramp, float saturation,
                               std::span<Pixel<std::uint8_t>> out) noexcept;

}  // namespace kyrox
