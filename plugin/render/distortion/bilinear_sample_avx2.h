#pragma once
// The AVX2 kernels of bilinear_sample_wide.h whose layout is AVX2's own. Every function here is
// compiled for AVX2 whatever the including file is compiled for, so only AVX2 code, run where
// simd::widest_path() allows, may call them.

#include <cstddef>
#include <cstdint>

#include "plugin/platform/simd/lanes_avx2.h"
#include "plugin/render/distortion/bilinear_sample_wide.h"

namespace kyrox::simd {

// The first and the second floats of the float pairs of low and high, taken within each 128-bit
// half: pairs 0, 1 of low, then 0, 1 of high, so the pairs lie in the order 0, 1, 4, 5, 2, 3, 6, 7.
KYROX_AVX2_LANES TwoChannels<F32x8> parted_pairs(F32x8 low, F32x8 high) noexcept
{
    return {_mm256_shuffle_ps(low.v, high.v, _MM_SHUFFLE(2, 0, 2, 0)),
            _mm256_shuffle_ps(low.v, high.v, _MM_SHUFFLE(3, 1, 3, 1))};
}

// Where parted_pairs puts pair i.
KYROX_AVX2_LANES I32x8 parted_order() noexcept
{
    return _mm256_setr_epi32(0, 1, 4, 5, 2, 3, 6, 7);
}

// AVX2 has no two-register permute: the window's channels are parted once per row and read with
// one-register permutes.
template <>
struct PairWindow<F32x8> {
    // The cells start .. start + 7 of a two-channel row.
    KYROX_AVX2_TARGET PairWindow(const float* row, std::int32_t start) noexcept
        : channels(parted_pairs(F32x8::load(row + 2 * static_cast<std::ptrdiff_t>(start)),
                                F32x8::load(row + 2 * static_cast<std::ptrdiff_t>(start) + 8)))
    {
    }
    KYROX_AVX2_LANES static I32x8 place(I32x8 cell) noexcept { return permute(parted_order(), cell); }
    KYROX_AVX2_LANES F32x8 first(I32x8 at) const noexcept { return permute(channels.first, at); }
    KYROX_AVX2_LANES F32x8 second(I32x8 at) const noexcept { return permute(channels.second, at); }

    TwoChannels<F32x8> channels;
};

// AVX2 gathers the pairs as doubles four at a time: lanes 0, 1, 4, 5 from one gather and 2, 3, 6,
// 7 from the other, so that parting them puts the lanes back in order.
template <>
struct CellPairs<F32x8> {
    KYROX_AVX2_TARGET CellPairs(const float* base, I32x8 offsets) noexcept
        : cells(parted_pairs(gathered(base, permute(offsets, parted_order()), 0),
                             gathered(base, permute(offsets, parted_order()), 1)))
    {
    }
    // The pairs at the four offsets of one half of offsets.
    KYROX_AVX2_LANES static F32x8 gathered(const float* base, I32x8 offsets, int half) noexcept
    {
        const __m128i four = half == 0 ? _mm256_castsi256_si128(offsets.v) : _mm256_extracti128_si256(offsets.v, 1);
        const __m256d all = _mm256_castsi256_pd(_mm256_set1_epi64x(-1));
        return _mm256_castpd_ps(
            _mm256_mask_i32gather_pd(_mm256_setzero_pd(), reinterpret_cast<const double*>(base), four, all, 4));
    }
    KYROX_AVX2_LANES F32x8 cell(F32x8 take_second) const noexcept
    {
        return select(take_second, cells.second, cells.first);
    }

    TwoChannels<F32x8> cells;
};

}  // namespace kyrox::simd
