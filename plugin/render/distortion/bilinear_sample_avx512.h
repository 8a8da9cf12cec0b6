#pragma once
// Sixteen bilinear reads at once with AVX-512. Each lane computes what the one-at-a-time read of
// bilinear_sample.h computes, with the same operations in the same order (and no fused
// multiply-adds), for positions well inside the int range; callers check that with safe_positions
// and read the others one at a time.
//
// Every function here is compiled for AVX-512 whatever the including file is compiled for, so only
// AVX-512 code, run where simd::widest_path() allows, may call them.

#include <cstddef>
#include <cstdint>

#include "plugin/platform/simd/lanes_avx512.h"
#include "plugin/render/distortion/bilinear_sample.h"

namespace kyrox::simd {

// The two clamped cells a read at the (safe) position v blends, and its fraction past the first.
struct Cells16 {
    __m512i first;
    __m512i second;
    __m512 fraction;
};

// index clamped to [0, count - 1].
KYROX_AVX512_TARGET inline __m512i clamp16(__m512i index, std::int32_t count) noexcept
{
    return _mm512_min_epi32(_mm512_max_epi32(index, _mm512_setzero_si512()), _mm512_set1_epi32(count - 1));
}

KYROX_AVX512_TARGET inline Cells16 cells16(__m512 v, std::int32_t count) noexcept
{
    const __m512 floored = floor_lanes<F32x16>(v);
    const __m512i cell = _mm512_cvttps_epi32(_mm512_add_ps(floored, _mm512_set1_ps(0.5f)));
    return {clamp16(cell, count), clamp16(_mm512_add_epi32(cell, _mm512_set1_epi32(1)), count),
            _mm512_sub_ps(v, floored)};
}

// Sixteen reads of a two-channel plane along one pair of rows at safe x positions that do not
// decrease from lane to lane (as the positions of neighbouring pixels). width is the plane's.
KYROX_AVX512_TARGET inline void bilinear16_along(const BilinearRows<2>& rows, std::int32_t width, __m512 x,
                                                 __m512& first, __m512& second) noexcept
{
    const Cells16 c = cells16(x, width);
    const __m512 ty = _mm512_set1_ps(rows.ty);
    // The lanes' cells rise with x, so they lie between the first lane's first cell and the last
    // lane's second; sixteen neighbouring pixels span a few cells, which two loads of each row hold.
    const std::int32_t lowest = _mm512_cvtsi512_si32(c.first);
    const std::int32_t highest = _mm_extract_epi32(_mm512_extracti32x4_epi32(c.second, 3), 3);
    const std::int32_t start = lowest < width - 16 ? lowest : width - 16;
    if (start >= 0 && highest - start < 16) {
        // The window's floats are the cells' channels interleaved, so a cell's first channel is at
        // twice its place in the window and its second just after; a two-source permute reaches
        // all 32.
        const __m512i base = _mm512_set1_epi32(start);
        const __m512i x0 = _mm512_slli_epi32(_mm512_sub_epi32(c.first, base), 1);
        const __m512i x1 = _mm512_slli_epi32(_mm512_sub_epi32(c.second, base), 1);
        const __m512i one = _mm512_set1_epi32(1);
        const __m512i y0 = _mm512_add_epi32(x0, one);
        const __m512i y1 = _mm512_add_epi32(x1, one);
        const float* top = rows.top + 2 * static_cast<std::ptrdiff_t>(start);
        const float* bottom = rows.bottom + 2 * static_cast<std::ptrdiff_t>(start);
        const __m512 top_low = _mm512_loadu_ps(top);
        const __m512 top_high = _mm512_loadu_ps(top + 16);
        const __m512 bottom_low = _mm512_loadu_ps(bottom);
        const __m512 bottom_high = _mm512_loadu_ps(bottom + 16);
        first = bilinear_blend<F32x16>(c.fraction, ty, _mm512_permutex2var_ps(top_low, x0, top_high),
                                       _mm512_permutex2var_ps(top_low, x1, top_high),
                                       _mm512_permutex2var_ps(bottom_low, x0, bottom_high),
                                       _mm512_permutex2var_ps(bottom_low, x1, bottom_high));
        second = bilinear_blend<F32x16>(c.fraction, ty, _mm512_permutex2var_ps(top_low, y0, top_high),
                                        _mm512_permutex2var_ps(top_low, y1, top_high),
                                        _mm512_permutex2var_ps(bottom_low, y0, bottom_high),
                                        _mm512_permutex2var_ps(bottom_low, y1, bottom_high));
        return;
    }
    // A plane narrower than the window: gather each cell's channel.
    const __m512i x0 = _mm512_add_epi32(c.first, c.first);
    const __m512i x1 = _mm512_add_epi32(c.second, c.second);
    first = bilinear_blend<F32x16>(c.fraction, ty, _mm512_i32gather_ps(x0, rows.top, 4),
                                   _mm512_i32gather_ps(x1, rows.top, 4), _mm512_i32gather_ps(x0, rows.bottom, 4),
                                   _mm512_i32gather_ps(x1, rows.bottom, 4));
    second = bilinear_blend<F32x16>(
        c.fraction, ty, _mm512_i32gather_ps(x0, rows.top + 1, 4), _mm512_i32gather_ps(x1, rows.top + 1, 4),
        _mm512_i32gather_ps(x0, rows.bottom + 1, 4), _mm512_i32gather_ps(x1, rows.bottom + 1, 4));
}

// The 8-byte cell pairs at the sixteen lanes' float offsets from base: lanes 0 .. 7 in the first
// register, 8 .. 15 in the second, each lane's pair at floats 2l and 2l + 1 of the two.
struct CellPairs16 {
    __m512 low;
    __m512 high;
};

KYROX_AVX512_TARGET inline CellPairs16 cell_pairs16(const float* base, __m512i offsets) noexcept
{
    return {_mm512_castpd_ps(_mm512_i32gather_pd(_mm512_castsi512_si256(offsets), base, 4)),
            _mm512_castpd_ps(_mm512_i32gather_pd(_mm512_extracti64x4_epi64(offsets, 1), base, 4))};
}

// Sixteen reads of a one-channel plane that gather_fits (bilinear_sample_avx2.h), at safe positions.
KYROX_AVX512_TARGET inline __m512 bilinear16(const WorldView& plane, __m512 x, __m512 y) noexcept
{
    const Cells16 columns = cells16(x, plane.width);
    const Cells16 rows = cells16(y, plane.height);
    // Each lane reads the pair of cells from pair on: its two columns are pair or pair + 1 (equal
    // where clamped at an edge), so one 8-byte read per row holds both, and never passes the row.
    const __m512i pair = _mm512_min_epi32(columns.first, _mm512_set1_epi32(plane.width - 2));
    // Lane l's pair is at floats 2l, 2l + 1 of the gathered registers; the permute index takes the
    // pair's second where the column is pair + 1, the same for both rows.
    const __m512i even = _mm512_setr_epi32(0, 2, 4, 6, 8, 10, 12, 14, 16, 18, 20, 22, 24, 26, 28, 30);
    const __m512i one = _mm512_set1_epi32(1);
    const __m512i at0 = _mm512_mask_add_epi32(even, _mm512_cmpgt_epi32_mask(columns.first, pair), even, one);
    const __m512i at1 = _mm512_mask_add_epi32(even, _mm512_cmpgt_epi32_mask(columns.second, pair), even, one);
    const __m512i stride = _mm512_set1_epi32(plane.row_bytes / 4);
    const auto* base = static_cast<const float*>(plane.data);
    const CellPairs16 top = cell_pairs16(base, _mm512_add_epi32(_mm512_mullo_epi32(rows.first, stride), pair));
    const CellPairs16 bottom = cell_pairs16(base, _mm512_add_epi32(_mm512_mullo_epi32(rows.second, stride), pair));
    return bilinear_blend<F32x16>(columns.fraction, rows.fraction, _mm512_permutex2var_ps(top.low, at0, top.high),
                                  _mm512_permutex2var_ps(top.low, at1, top.high),
                                  _mm512_permutex2var_ps(bottom.low, at0, bottom.high),
                                  _mm512_permutex2var_ps(bottom.low, at1, bottom.high));
}

}  // namespace kyrox::simd
