#pragma once

// The sixteen-lane twin of F32x4 (lanes.h) and F32x8 (lanes_avx2.h) with AVX-512. Comparisons give a
// mask register rather than a register of lane masks, which select takes. Every function here is
// compiled for the AVX-512 path whatever the including file is compiled for, so only AVX-512 code,
// run where widest_path() allows, may call them or instantiate a lane formula with F32x16.

#include "plugin/platform/simd/lanes.h"
#include "plugin/platform/simd/simd_path.h"

// Not forced inline, for the reason given for KYROX_AVX2_LANES.
#define KYROX_AVX512_LANES inline KYROX_AVX512_TARGET

namespace kyrox::simd {

// One bit per lane of a comparison of F32x16.
struct Mask16 {
    __mmask16 k;
};

struct F32x16 {
    __m512 v;
    KYROX_AVX512_TARGET F32x16(__m512 lanes) noexcept : v(lanes) {}
    KYROX_AVX512_TARGET F32x16(float x) noexcept : v(_mm512_set1_ps(x)) {}
    KYROX_AVX512_TARGET operator __m512() const noexcept { return v; }

    KYROX_AVX512_LANES friend F32x16 operator+(F32x16 a, F32x16 b) noexcept { return _mm512_add_ps(a.v, b.v); }
    KYROX_AVX512_LANES friend F32x16 operator-(F32x16 a, F32x16 b) noexcept { return _mm512_sub_ps(a.v, b.v); }
    KYROX_AVX512_LANES friend F32x16 operator*(F32x16 a, F32x16 b) noexcept { return _mm512_mul_ps(a.v, b.v); }
    KYROX_AVX512_LANES friend F32x16 operator/(F32x16 a, F32x16 b) noexcept { return _mm512_div_ps(a.v, b.v); }
    KYROX_AVX512_LANES friend Mask16 operator<(F32x16 a, F32x16 b) noexcept
    {
        return {_mm512_cmp_ps_mask(a.v, b.v, _CMP_LT_OQ)};
    }
    KYROX_AVX512_LANES friend Mask16 operator>(F32x16 a, F32x16 b) noexcept
    {
        return {_mm512_cmp_ps_mask(a.v, b.v, _CMP_GT_OQ)};
    }
    KYROX_AVX512_LANES friend Mask16 operator>=(F32x16 a, F32x16 b) noexcept
    {
        return {_mm512_cmp_ps_mask(a.v, b.v, _CMP_GE_OQ)};
    }
    KYROX_AVX512_LANES friend Mask16 operator==(F32x16 a, F32x16 b) noexcept
    {
        return {_mm512_cmp_ps_mask(a.v, b.v, _CMP_EQ_OQ)};
    }
};

// a where mask is set, else b.
KYROX_AVX512_LANES F32x16 select(Mask16 mask, F32x16 a, F32x16 b) noexcept
{
    return _mm512_mask_blend_ps(mask.k, b.v, a.v);
}

// v where v is above 0, else 0 (NaN too).
KYROX_AVX512_LANES F32x16 positive(F32x16 v) noexcept
{
    // As F32x8's: maxps is v > 0 ? v : 0 exactly.
    return _mm512_max_ps(v.v, _mm512_setzero_ps());
}

// |v|, as std::fabs.
KYROX_AVX512_LANES F32x16 magnitude(F32x16 v) noexcept
{
    return _mm512_abs_ps(v.v);
}

// Each lane truncated toward zero to a whole value; lanes must lie well inside the int range.
KYROX_AVX512_LANES F32x16 truncated(F32x16 v) noexcept
{
    return _mm512_cvtepi32_ps(_mm512_cvttps_epi32(v.v));
}

// Whether every lane lies strictly between -2^30 and 2^30 (NaN does not).
KYROX_AVX512_LANES bool safe_positions(F32x16 v) noexcept
{
    // |v| < 2^30, NaN failing the ordered comparison.
    const __m512 magnitude = _mm512_abs_ps(v.v);
    return _mm512_cmp_ps_mask(magnitude, _mm512_set1_ps(1073741824.0f), _CMP_LT_OQ) == 0xffff;
}

}  // namespace kyrox::simd
