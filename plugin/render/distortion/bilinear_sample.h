#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "plugin/noise/noise_floor.h"
#include "plugin/render/render_inputs.h"

namespace kyrox {

// One cell of the distortion noise plane: the displacement along x and along y.
struct NoiseCell {
    float x = 0.0f;
    float y = 0.0f;
};

// The cell index int(v), clamped to [0, count - 1]. Positions beyond the int range and NaN (which the
// plain conversion cannot take) land on an edge like any other position outside the plane.
inline std::size_t clamped_cell(float v, std::int64_t step, std::int32_t count) noexcept
{
    std::int64_t index = 0;
    if (!(v > int_range_low)) {
        index = 0;
    } else if (!(v < int_range_end)) {
        index = static_cast<std::int64_t>(int_range_end);
    } else {
        index = static_cast<std::int64_t>(static_cast<std::int32_t>(v));
    }
    index += step;
    if (index < 0) {
        return 0;
    }
    return static_cast<std::size_t>(index < count ? index : count - 1);
}

// The two rows a bilinear read at y blends and the weight of the lower one. A row's reads share
// it, so loops along a row work it out once.
template <std::size_t Channels>
struct BilinearRows {
    const float* top;
    const float* bottom;
    float ty;
};

template <std::size_t Channels>
inline BilinearRows<Channels> bilinear_rows(const WorldView& view, float y) noexcept
{
    const float fy = noise_floor(y);
    const auto* base = static_cast<const unsigned char*>(view.data);
    const auto row = [&](std::size_t i) {
        return reinterpret_cast<const float*>(base + i * static_cast<std::size_t>(view.row_bytes));
    };
    return {row(clamped_cell(fy + 0.5f, 0, view.height)), row(clamped_cell(fy + 0.5f, 1, view.height)), y - fy};
}

// The bilinear read at x between the two rows; width is the view's width.
template <std::size_t Channels>
inline std::array<float, Channels> bilinear_at(const BilinearRows<Channels>& rows, std::int32_t width, float x) noexcept
{
    const float fx = noise_floor(x);
    const std::size_t c0 = clamped_cell(fx + 0.5f, 0, width);
    const std::size_t c1 = clamped_cell(fx + 0.5f, 1, width);
    const float tx = x - fx;
    const float ty = rows.ty;
    std::array<float, Channels> result{};
    for (std::size_t k = 0; k < Channels; ++k) {
        result[k] = (1.0f - ty) * ((1.0f - tx) * rows.top[c0 * Channels + k] + tx * rows.top[c1 * Channels + k]) +
                    ty * ((1.0f - tx) * rows.bottom[c0 * Channels + k] + tx * rows.bottom[c1 * Channels + k]);
    }
    return result;
}

// Bilinear reads of the noise plane (two floats per cell) and of a float plane (one float per cell).
// Cell indices are clamped to the plane, so positions outside it read the edge cells; the plane must
// hold at least one cell.
inline NoiseCell sample_bilinear(const WorldView& noise, float x, float y) noexcept
{
    const std::array<float, 2> v = bilinear_at(bilinear_rows<2>(noise, y), noise.width, x);
    return {v[0], v[1]};
}

inline float sample_bilinear1(const WorldView& plane, float x, float y) noexcept
{
    return bilinear_at(bilinear_rows<1>(plane, y), plane.width, x)[0];
}

}  // namespace kyrox
