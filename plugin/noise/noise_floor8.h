#pragma once
// The four-lane helpers of noise_floor4.h on eight lanes with AVX2. Only functions compiled for AVX2
// (KYROX_AVX2_TARGET) may call them, and those only after platform::cpu_has_avx2() said yes; each
// lane computes exactly what its four-lane twin computes.

#include "plugin/platform/cpu_features.h"

#ifdef KYROX_AVX2

#include <immintrin.h>

namespace kyrox::simd {

// Whether all eight lanes lie strictly between -2^30 and 2^30 (NaN does not).
KYROX_AVX2_TARGET inline bool safe_positions8(__m256 v) noexcept
{
    const __m256 limit = _mm256_set1_ps(1073741824.0f);
    const __m256 inside = _mm256_and_ps(_mm256_cmp_ps(v, limit, _CMP_LT_OQ),
                                        _mm256_cmp_ps(v, _mm256_sub_ps(_mm256_setzero_ps(), limit), _CMP_GT_OQ));
    return _mm256_movemask_ps(inside) == 0xff;
}

// v where v is above 0, else 0 (NaN too).
KYROX_AVX2_TARGET inline __m256 positive8(__m256 v) noexcept
{
    return _mm256_and_ps(_mm256_cmp_ps(v, _mm256_setzero_ps(), _CMP_GT_OQ), v);
}

// a where mask is set, else b.
KYROX_AVX2_TARGET inline __m256 select8(__m256 mask, __m256 a, __m256 b) noexcept
{
    return _mm256_blendv_ps(b, a, mask);
}

// noise_floor of each lane of a safe position: whole values (and -0) come back unchanged.
KYROX_AVX2_TARGET inline __m256 floor8(__m256 v) noexcept
{
    const __m256 truncated = _mm256_cvtepi32_ps(_mm256_cvttps_epi32(v));
    const __m256 below = select8(_mm256_cmp_ps(v, _mm256_setzero_ps(), _CMP_LT_OQ),
                                 _mm256_sub_ps(truncated, _mm256_set1_ps(1.0f)), truncated);
    return select8(_mm256_cmp_ps(truncated, v, _CMP_EQ_OQ), v, below);
}

}  // namespace kyrox::simd

#endif
