#pragma once

// The eight-lane twin of F32x4 (lanes.h) with AVX2. Every function here is compiled for AVX2
// whatever the including file is compiled for, so only AVX2 code, run where widest_path() allows,
// may call them or instantiate a lane formula with F32x8.

#include "plugin/platform/simd/lanes.h"

// Not forced inline: a lane formula is inlined into its AVX2 caller first, and these then inline
// there; forcing them would fail inside the formula's own baseline-compiled body.
#define KYROX_AVX2_LANES inline KYROX_AVX2_TARGET

namespace kyrox::simd {

struct F32x8 {
    __m256 v;
    KYROX_AVX2_TARGET F32x8(__m256 lanes) noexcept : v(lanes) {}
    KYROX_AVX2_TARGET F32x8(float x) noexcept : v(_mm256_set1_ps(x)) {}
    KYROX_AVX2_TARGET operator __m256() const noexcept { return v; }

    KYROX_AVX2_LANES friend F32x8 operator+(F32x8 a, F32x8 b) noexcept { return _mm256_add_ps(a.v, b.v); }
    KYROX_AVX2_LANES friend F32x8 operator-(F32x8 a, F32x8 b) noexcept { return _mm256_sub_ps(a.v, b.v); }
    KYROX_AVX2_LANES friend F32x8 operator*(F32x8 a, F32x8 b) noexcept { return _mm256_mul_ps(a.v, b.v); }
    KYROX_AVX2_LANES friend F32x8 operator/(F32x8 a, F32x8 b) noexcept { return _mm256_div_ps(a.v, b.v); }
    KYROX_AVX2_LANES friend F32x8 operator<(F32x8 a, F32x8 b) noexcept { return _mm256_cmp_ps(a.v, b.v, _CMP_LT_OQ); }
    KYROX_AVX2_LANES friend F32x8 operator>(F32x8 a, F32x8 b) noexcept { return _mm256_cmp_ps(a.v, b.v, _CMP_GT_OQ); }
    KYROX_AVX2_LANES friend F32x8 operator>=(F32x8 a, F32x8 b) noexcept { return _mm256_cmp_ps(a.v, b.v, _CMP_GE_OQ); }
    KYROX_AVX2_LANES friend F32x8 operator==(F32x8 a, F32x8 b) noexcept { return _mm256_cmp_ps(a.v, b.v, _CMP_EQ_OQ); }
};

// a where mask is set, else b.
KYROX_AVX2_LANES F32x8 select(F32x8 mask, F32x8 a, F32x8 b) noexcept
{
    return _mm256_blendv_ps(b.v, a.v, mask.v);
}

// v where v is above 0, else 0 (NaN too).
KYROX_AVX2_LANES F32x8 positive(F32x8 v) noexcept
{
    return _mm256_max_ps(v.v, _mm256_setzero_ps());
}

// |v|, as std::fabs.
KYROX_AVX2_LANES F32x8 magnitude(F32x8 v) noexcept
{
    return _mm256_and_ps(v.v, _mm256_castsi256_ps(_mm256_set1_epi32(0x7fffffff)));
}

// Each lane truncated toward zero to a whole value; lanes must lie well inside the int range.
KYROX_AVX2_LANES F32x8 truncated(F32x8 v) noexcept
{
    return _mm256_cvtepi32_ps(_mm256_cvttps_epi32(v.v));
}

// Whether every lane lies strictly between -2^30 and 2^30 (NaN does not).
KYROX_AVX2_LANES bool safe_positions(F32x8 v) noexcept
{
    const __m256 limit = _mm256_set1_ps(1073741824.0f);
    const __m256 inside = _mm256_and_ps(_mm256_cmp_ps(v.v, limit, _CMP_LT_OQ),
                                        _mm256_cmp_ps(v.v, _mm256_sub_ps(_mm256_setzero_ps(), limit), _CMP_GT_OQ));
    return _mm256_movemask_ps(inside) == 0xff;
}

}  // namespace kyrox::simd
