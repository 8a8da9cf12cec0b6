#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <type_traits>

#include "plugin/noise/noise_floor.h"
#include "plugin/platform/simd/lanes.h"
#include "plugin/render/plane_view.h"

namespace kyrox {

// One cell of the distortion noise plane: the displacement along x and along y.
struct NoiseCell {
    float x = 0.0f;
    float y = 0.0f;
};

// The distortion's noise plane, one cell per two destination pixels each way.
using NoiseView = CellView<NoiseCell>;
using ConstNoiseView = CellView<const NoiseCell>;

// A row's cells as the floats the reads blend: each noise cell's x then its y.
inline const float* cell_floats(const float* cells) noexcept
{
    return cells;
}
inline const float* cell_floats(const NoiseCell* cells) noexcept
{
    static_assert(std::is_standard_layout_v<NoiseCell> && sizeof(NoiseCell) == 2 * sizeof(float));
    return reinterpret_cast<const float*>(cells);
}

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

template <std::size_t Channels, class Cell>
inline BilinearRows<Channels> bilinear_rows_of(CellView<const Cell> plane, float y) noexcept
{
    const float fy = noise_floor(y);
    const auto row = [&](std::size_t i) { return cell_floats(plane.row(static_cast<std::int32_t>(i)).data()); };
    return {row(clamped_cell(fy + 0.5f, 0, plane.height)), row(clamped_cell(fy + 0.5f, 1, plane.height)), y - fy};
}

inline BilinearRows<2> bilinear_rows(ConstNoiseView noise, float y) noexcept
{
    return bilinear_rows_of<2>(noise, y);
}

inline BilinearRows<1> bilinear_rows(ConstPlaneView plane, float y) noexcept
{
    return bilinear_rows_of<1>(plane, y);
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
        result[k] = simd::bilinear_blend(tx, ty, rows.top[c0 * Channels + k], rows.top[c1 * Channels + k],
                                         rows.bottom[c0 * Channels + k], rows.bottom[c1 * Channels + k]);
    }
    return result;
}

// Bilinear reads of the noise plane (two floats per cell) and of a float plane (one float per cell).
// Cell indices are clamped to the plane, so positions outside it read the edge cells; the plane must
// hold at least one cell.
inline NoiseCell sample_bilinear(ConstNoiseView noise, float x, float y) noexcept
{
    const std::array<float, 2> v = bilinear_at(bilinear_rows(noise, y), noise.width, x);
    return {v[0], v[1]};
}

inline float sample_bilinear1(ConstPlaneView plane, float x, float y) noexcept
{
    return bilinear_at(bilinear_rows(plane, y), plane.width, x)[0];
}

}  // namespace kyrox

// Four bilinear reads at once with SSE2. Each lane computes what the one-at-a-time read above
// computes, with the same operations in the same order, for positions well inside the int range
// (where the one-at-a-time read's special cases for huge positions and NaN cannot arise); callers
// check that with safe_positions and read the others one at a time.

namespace kyrox::simd {

// index clamped to [0, count - 1].
inline __m128i clamp4(__m128i index, std::int32_t count) noexcept
{
    const __m128i positive = _mm_and_si128(index, _mm_cmpgt_epi32(index, _mm_setzero_si128()));
    const __m128i last = _mm_set1_epi32(count - 1);
    const __m128i above = _mm_cmpgt_epi32(positive, last);
    return _mm_or_si128(_mm_and_si128(above, last), _mm_andnot_si128(above, positive));
}

// The two clamped cells a read at the (safe) position v blends, and its fraction past the first.
struct Cells4 {
    alignas(16) std::int32_t first[4];
    alignas(16) std::int32_t second[4];
    __m128 fraction;
};

inline Cells4 cells4(__m128 v, std::int32_t count) noexcept
{
    const __m128 floored = floor_lanes<F32x4>(v);
    const __m128i cell = _mm_cvttps_epi32(_mm_add_ps(floored, _mm_set1_ps(0.5f)));
    Cells4 c;
    _mm_store_si128(reinterpret_cast<__m128i*>(c.first), clamp4(cell, count));
    _mm_store_si128(reinterpret_cast<__m128i*>(c.second), clamp4(_mm_add_epi32(cell, _mm_set1_epi32(1)), count));
    c.fraction = _mm_sub_ps(v, floored);
    return c;
}

// Four reads of a two-channel plane along one pair of rows, at safe x positions.
inline void bilinear4_along(const BilinearRows<2>& rows, std::int32_t width, __m128 x, __m128& first,
                            __m128& second) noexcept
{
    const Cells4 c = cells4(x, width);
    const auto at = [](const float* row, const std::int32_t* cells, std::size_t channel) {
        return _mm_setr_ps(row[2 * cells[0] + channel], row[2 * cells[1] + channel], row[2 * cells[2] + channel],
                           row[2 * cells[3] + channel]);
    };
    const __m128 ty = _mm_set1_ps(rows.ty);
    first = bilinear_blend<F32x4>(c.fraction, ty, at(rows.top, c.first, 0), at(rows.top, c.second, 0),
                                  at(rows.bottom, c.first, 0), at(rows.bottom, c.second, 0));
    second = bilinear_blend<F32x4>(c.fraction, ty, at(rows.top, c.first, 1), at(rows.top, c.second, 1),
                                   at(rows.bottom, c.first, 1), at(rows.bottom, c.second, 1));
}

// Four reads of a one-channel plane at safe positions.
inline __m128 bilinear4(ConstPlaneView plane, __m128 x, __m128 y) noexcept
{
    const Cells4 columns = cells4(x, plane.width);
    const Cells4 rows = cells4(y, plane.height);
    const auto row = [&](std::int32_t r) { return plane.row(r).data(); };
    alignas(16) float a[4];
    alignas(16) float b[4];
    alignas(16) float c[4];
    alignas(16) float d[4];
    for (std::size_t l = 0; l < 4; ++l) {
        const float* top = row(rows.first[l]);
        const float* bottom = row(rows.second[l]);
        a[l] = top[columns.first[l]];
        b[l] = top[columns.second[l]];
        c[l] = bottom[columns.first[l]];
        d[l] = bottom[columns.second[l]];
    }
    return bilinear_blend<F32x4>(columns.fraction, rows.fraction, _mm_load_ps(a), _mm_load_ps(b), _mm_load_ps(c),
                                 _mm_load_ps(d));
}

}  // namespace kyrox::simd
