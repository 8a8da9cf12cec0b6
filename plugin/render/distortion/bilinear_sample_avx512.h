#pragma once
// The AVX-512 kernels of bilinear_sample_wide.h whose layout is AVX-512's own. Every function here
// is compiled for AVX-512 whatever the including file is compiled for, so only AVX-512 code, run
// where simd::widest_path() allows, may call them.

#include <cstddef>
#include <cstdint>

#include "plugin/platform/simd/lanes_avx512.h"
#include "plugin/render/distortion/bilinear_sample_wide.h"

namespace kyrox::simd {

// AVX-512's two-register permute reaches all 32 floats of the window (the cells' channels
// interleaved) directly: a cell's first channel is at twice its place and its second just after.
template <>
struct PairWindow<F32x16> {
    // The cells start .. start + 15 of a two-channel row.
    KYROX_AVX512_TARGET PairWindow(const float* row, std::int32_t start) noexcept
        : low_(F32x16::load(row + 2 * static_cast<std::ptrdiff_t>(start))),
          high_(F32x16::load(row + 2 * static_cast<std::ptrdiff_t>(start) + 16))
    {
    }
    KYROX_AVX512_LANES static I32x16 place(I32x16 cell) noexcept { return _mm512_slli_epi32(cell.v, 1); }
    KYROX_AVX512_LANES F32x16 first(I32x16 at) const noexcept { return _mm512_permutex2var_ps(low_, at, high_); }
    KYROX_AVX512_LANES F32x16 second(I32x16 at) const noexcept { return _mm512_permutex2var_ps(low_, at + 1, high_); }

    F32x16 low_;
    F32x16 high_;
};

// AVX-512 gathers the sixteen pairs as doubles eight at a time, lanes 0 .. 7 into the low register
// and 8 .. 15 into the high, lane l's pair at floats 2l and 2l + 1 of the two, which a two-register
// permute picks from.
template <>
struct CellPairs<F32x16> {
    KYROX_AVX512_TARGET CellPairs(const float* base, I32x16 offsets) noexcept
        : low_(_mm512_castpd_ps(_mm512_i32gather_pd(_mm512_castsi512_si256(offsets), base, 4))),
          high_(_mm512_castpd_ps(_mm512_i32gather_pd(_mm512_extracti64x4_epi64(offsets, 1), base, 4)))
    {
    }
    KYROX_AVX512_LANES F32x16 cell(Mask16 take_second) const noexcept
    {
        const __m512i even = _mm512_setr_epi32(0, 2, 4, 6, 8, 10, 12, 14, 16, 18, 20, 22, 24, 26, 28, 30);
        const __m512i at = _mm512_mask_add_epi32(even, take_second.k, even, _mm512_set1_epi32(1));
        return _mm512_permutex2var_ps(low_, at, high_);
    }

    F32x16 low_;
    F32x16 high_;
};

}  // namespace kyrox::simd
