#pragma once
// noise_floor on four lanes at once with SSE2, which every 64-bit x86 processor has, for positions
// well inside the int range (where the one-at-a-time floor's cases for huge values and NaN cannot
// arise); callers check that with safe_positions and take the others one at a time.

#if defined(__SSE2__) || defined(_M_X64)
#define KYROX_SSE2 1

#include <emmintrin.h>

namespace kyrox::simd {

// Whether all four lanes lie strictly between -2^30 and 2^30 (NaN does not).
inline bool safe_positions(__m128 v) noexcept
{
    const __m128 limit = _mm_set1_ps(1073741824.0f);
    const __m128 inside = _mm_and_ps(_mm_cmplt_ps(v, limit), _mm_cmpgt_ps(v, _mm_sub_ps(_mm_setzero_ps(), limit)));
    return _mm_movemask_ps(inside) == 0xf;
}

// a where mask is set, else b.
inline __m128 select(__m128 mask, __m128 a, __m128 b) noexcept
{
    return _mm_or_ps(_mm_and_ps(mask, a), _mm_andnot_ps(mask, b));
}

// noise_floor of each lane of a safe position: whole values (and -0) come back unchanged.
inline __m128 floor4(__m128 v) noexcept
{
    const __m128 truncated = _mm_cvtepi32_ps(_mm_cvttps_epi32(v));
    const __m128 below = select(_mm_cmplt_ps(v, _mm_setzero_ps()), _mm_sub_ps(truncated, _mm_set1_ps(1.0f)), truncated);
    return select(_mm_cmpeq_ps(truncated, v), v, below);
}

}  // namespace kyrox::simd

#endif
