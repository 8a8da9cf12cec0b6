#pragma once
// Eight bilinear reads at once with AVX2. Each lane computes what the one-at-a-time read of
// bilinear_sample.h computes, with the same operations in the same order (and no fused
// multiply-adds), for positions well inside the int range; callers check that with safe_positions
// and read the others one at a time.
//
// Every function here is compiled for AVX2 whatever the including file is compiled for, so only
// AVX2 code, run where simd::widest_path() allows, may call them.

#include <cstddef>
#include <cstdint>

#include "plugin/platform/simd/lanes_avx2.h"
#include "plugin/render/distortion/bilinear_sample.h"

namespace kyrox::simd {

// The two clamped cells a read at the (safe) position v blends, and its fraction past the first.
struct Cells8 {
    __m256i first;
    __m256i second;
    __m256 fraction;
};

// index clamped to [0, count - 1].
KYROX_AVX2_TARGET inline __m256i clamp8(__m256i index, std::int32_t count) noexcept
{
    return _mm256_min_epi32(_mm256_max_epi32(index, _mm256_setzero_si256()), _mm256_set1_epi32(count - 1));
}

KYROX_AVX2_TARGET inline Cells8 cells8(__m256 v, std::int32_t count) noexcept
{
    const __m256 floored = floor_lanes<F32x8>(v);
    const __m256i cell = _mm256_cvttps_epi32(_mm256_add_ps(floored, _mm256_set1_ps(0.5f)));
    return {clamp8(cell, count), clamp8(_mm256_add_epi32(cell, _mm256_set1_epi32(1)), count),
            _mm256_sub_ps(v, floored)};
}

// The two channels of the cells start .. start + 7 of a two-channel row, each channel in cell order.
struct CellWindow {
    __m256 first;
    __m256 second;
};

KYROX_AVX2_TARGET inline CellWindow cell_window(const float* row, std::int32_t start) noexcept
{
    const __m256 low = _mm256_loadu_ps(row + 2 * static_cast<std::ptrdiff_t>(start));
    const __m256 high = _mm256_loadu_ps(row + 2 * static_cast<std::ptrdiff_t>(start) + 8);
    // Within each 128-bit half: the cells 0, 1 of low, then 0, 1 of high; so the cells lie in the
    // order 0, 1, 4, 5, 2, 3, 6, 7.
    return {_mm256_shuffle_ps(low, high, _MM_SHUFFLE(2, 0, 2, 0)),
            _mm256_shuffle_ps(low, high, _MM_SHUFFLE(3, 1, 3, 1))};
}

// Eight reads of a two-channel plane along one pair of rows at safe x positions that do not
// decrease from lane to lane (as the positions of neighbouring pixels). width is the plane's.
KYROX_AVX2_TARGET inline void bilinear8_along(const BilinearRows<2>& rows, std::int32_t width, __m256 x, __m256& first,
                                              __m256& second) noexcept
{
    const Cells8 c = cells8(x, width);
    const __m256 ty = _mm256_set1_ps(rows.ty);
    // The lanes' cells rise with x, so they lie between the first lane's first cell and the last
    // lane's second; eight neighbouring pixels span a few cells, which two loads of each row hold.
    const std::int32_t lowest = _mm256_cvtsi256_si32(c.first);
    const std::int32_t highest = _mm256_extract_epi32(c.second, 7);
    const std::int32_t start = lowest < width - 8 ? lowest : width - 8;
    if (start >= 0 && highest - start < 8) {
        const __m256i order = _mm256_setr_epi32(0, 1, 4, 5, 2, 3, 6, 7);
        const __m256i base = _mm256_set1_epi32(start);
        const __m256i at0 = _mm256_permutevar8x32_epi32(order, _mm256_sub_epi32(c.first, base));
        const __m256i at1 = _mm256_permutevar8x32_epi32(order, _mm256_sub_epi32(c.second, base));
        const CellWindow top = cell_window(rows.top, start);
        const CellWindow bottom = cell_window(rows.bottom, start);
        first = bilinear_blend<F32x8>(
            c.fraction, ty, _mm256_permutevar8x32_ps(top.first, at0), _mm256_permutevar8x32_ps(top.first, at1),
            _mm256_permutevar8x32_ps(bottom.first, at0), _mm256_permutevar8x32_ps(bottom.first, at1));
        second = bilinear_blend<F32x8>(
            c.fraction, ty, _mm256_permutevar8x32_ps(top.second, at0), _mm256_permutevar8x32_ps(top.second, at1),
            _mm256_permutevar8x32_ps(bottom.second, at0), _mm256_permutevar8x32_ps(bottom.second, at1));
        return;
    }
    // A plane narrower than the window: gather each cell's channel.
    const __m256i x0 = _mm256_add_epi32(c.first, c.first);
    const __m256i x1 = _mm256_add_epi32(c.second, c.second);
    first = bilinear_blend<F32x8>(c.fraction, ty, _mm256_i32gather_ps(rows.top, x0, 4),
                                  _mm256_i32gather_ps(rows.top, x1, 4), _mm256_i32gather_ps(rows.bottom, x0, 4),
                                  _mm256_i32gather_ps(rows.bottom, x1, 4));
    second = bilinear_blend<F32x8>(
        c.fraction, ty, _mm256_i32gather_ps(rows.top + 1, x0, 4), _mm256_i32gather_ps(rows.top + 1, x1, 4),
        _mm256_i32gather_ps(rows.bottom + 1, x0, 4), _mm256_i32gather_ps(rows.bottom + 1, x1, 4));
}

// Whether a one-channel plane suits bilinear8: at least two columns, and every cell at a 32-bit
// float offset from its first.
inline bool gather_fits(const WorldView& plane) noexcept
{
    if (plane.row_bytes <= 0 || plane.row_bytes % 4 != 0 || plane.width < 2 || plane.height <= 0) {
        return false;
    }
    const std::int64_t last = static_cast<std::int64_t>(plane.height - 1) * (plane.row_bytes / 4) + plane.width;
    return last <= INT32_MAX;
}

// The two cells of each lane's row pair at float offsets row + column .. row + column + 1, the
// first cells' values then the second's; column must be at most width - 2.
struct CellPairs {
    __m256 first;
    __m256 second;
};

KYROX_AVX2_TARGET inline CellPairs cell_pairs(const float* base, __m256i offsets) noexcept
{
    // Lanes 0, 1, 4, 5 from one gather and 2, 3, 6, 7 from the other, so that taking the first and
    // second floats of each half's pairs puts the lanes back in order.
    const __m256i order = _mm256_permutevar8x32_epi32(offsets, _mm256_setr_epi32(0, 1, 4, 5, 2, 3, 6, 7));
    const auto* pairs = reinterpret_cast<const double*>(base);
    const __m256d all = _mm256_castsi256_pd(_mm256_set1_epi64x(-1));
    const __m256 low =
        _mm256_castpd_ps(_mm256_mask_i32gather_pd(_mm256_setzero_pd(), pairs, _mm256_castsi256_si128(order), all, 4));
    const __m256 high = _mm256_castpd_ps(
        _mm256_mask_i32gather_pd(_mm256_setzero_pd(), pairs, _mm256_extracti128_si256(order, 1), all, 4));
    return {_mm256_shuffle_ps(low, high, _MM_SHUFFLE(2, 0, 2, 0)),
            _mm256_shuffle_ps(low, high, _MM_SHUFFLE(3, 1, 3, 1))};
}

// Eight reads of a one-channel plane that gather_fits, at safe positions.
KYROX_AVX2_TARGET inline __m256 bilinear8(const WorldView& plane, __m256 x, __m256 y) noexcept
{
    const Cells8 columns = cells8(x, plane.width);
    const Cells8 rows = cells8(y, plane.height);
    // Each lane reads the pair of cells from pair on: its two columns are pair or pair + 1 (equal
    // where clamped at an edge), so one 8-byte read per row holds both, and never passes the row.
    const __m256i pair = _mm256_min_epi32(columns.first, _mm256_set1_epi32(plane.width - 2));
    const __m256 first_is_second = _mm256_castsi256_ps(_mm256_cmpgt_epi32(columns.first, pair));
    const __m256 second_is_second = _mm256_castsi256_ps(_mm256_cmpgt_epi32(columns.second, pair));
    const __m256i stride = _mm256_set1_epi32(plane.row_bytes / 4);
    const auto* base = static_cast<const float*>(plane.data);
    const CellPairs top = cell_pairs(base, _mm256_add_epi32(_mm256_mullo_epi32(rows.first, stride), pair));
    const CellPairs bottom = cell_pairs(base, _mm256_add_epi32(_mm256_mullo_epi32(rows.second, stride), pair));
    return bilinear_blend<F32x8>(columns.fraction, rows.fraction,
                                 _mm256_blendv_ps(top.first, top.second, first_is_second),
                                 _mm256_blendv_ps(top.first, top.second, second_is_second),
                                 _mm256_blendv_ps(bottom.first, bottom.second, first_is_second),
                                 _mm256_blendv_ps(bottom.first, bottom.second, second_is_second));
}

}  // namespace kyrox::simd
