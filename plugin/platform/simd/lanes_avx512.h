#pragma once

// The sixteen-lane twin of F32x4 (lanes.h) and F32x8 (lanes_avx2.h) with AVX-512. Comparisons give a
// mask register rather than a register of lane masks, which select takes. Every function here is
// compiled for the AVX-512 path whatever the including file is compiled for, so only AVX-512 code,
// run where widest_path() allows, may call them or instantiate a lane formula with F32x16.

#include <cstddef>
#include <cstdint>

#include "plugin/platform/simd/lanes.h"
#include "plugin/platform/simd/simd_path.h"

// Not forced inline, for the reason given for KYROX_AVX2_LANES.
#define KYROX_AVX512_LANES inline KYROX_AVX512_TARGET

namespace kyrox::simd {

// One bit per lane of a comparison of F32x16.
struct Mask16 {
    __mmask16 k;
};

struct I32x16;

struct F32x16 {
    using Mask = Mask16;
    using Int = I32x16;
    static constexpr std::size_t size = 16;

    __m512 v;
    KYROX_AVX512_TARGET F32x16(__m512 lanes) noexcept : v(lanes) {}
    KYROX_AVX512_TARGET F32x16(float x) noexcept : v(_mm512_set1_ps(x)) {}
    KYROX_AVX512_TARGET operator __m512() const noexcept { return v; }

    // size floats from p on; the aligned forms need p aligned to 64 bytes.
    KYROX_AVX512_LANES static F32x16 load(const float* p) noexcept { return _mm512_loadu_ps(p); }
    KYROX_AVX512_LANES static F32x16 load_aligned(const float* p) noexcept { return _mm512_load_ps(p); }
    KYROX_AVX512_LANES void store(float* p) const noexcept { _mm512_storeu_ps(p, v); }
    KYROX_AVX512_LANES void store_aligned(float* p) const noexcept { _mm512_store_ps(p, v); }

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

// a where a is below b, else b (NaN in either gives b).
KYROX_AVX512_LANES F32x16 lesser(F32x16 a, F32x16 b) noexcept
{
    return _mm512_min_ps(a.v, b.v);
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

// Sixteen 32-bit integer lanes, wrapping as unsigned arithmetic does. A comparison gives a Mask16.
struct I32x16 {
    using Float = F32x16;
    static constexpr std::size_t size = 16;

    __m512i v;
    KYROX_AVX512_TARGET I32x16(__m512i lanes) noexcept : v(lanes) {}
    KYROX_AVX512_TARGET I32x16(std::int32_t x) noexcept : v(_mm512_set1_epi32(x)) {}
    KYROX_AVX512_TARGET operator __m512i() const noexcept { return v; }

    // first, first + 1, ..., first + 15.
    KYROX_AVX512_LANES static I32x16 sequence(std::int32_t first) noexcept
    {
        return _mm512_add_epi32(_mm512_set1_epi32(first),
                                _mm512_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15));
    }
    // p aligned to 64 bytes.
    KYROX_AVX512_LANES static I32x16 load_aligned(const std::int32_t* p) noexcept { return _mm512_load_si512(p); }
    KYROX_AVX512_LANES void store_aligned(std::int32_t* p) const noexcept { _mm512_store_si512(p, v); }
    KYROX_AVX512_LANES std::int32_t first() const noexcept { return _mm512_cvtsi512_si32(v); }
    KYROX_AVX512_LANES std::int32_t last() const noexcept
    {
        return _mm_extract_epi32(_mm512_extracti32x4_epi32(v, 3), 3);
    }

    KYROX_AVX512_LANES friend I32x16 operator+(I32x16 a, I32x16 b) noexcept { return _mm512_add_epi32(a.v, b.v); }
    KYROX_AVX512_LANES friend I32x16 operator-(I32x16 a, I32x16 b) noexcept { return _mm512_sub_epi32(a.v, b.v); }
    KYROX_AVX512_LANES friend I32x16 operator*(I32x16 a, I32x16 b) noexcept { return _mm512_mullo_epi32(a.v, b.v); }
    KYROX_AVX512_LANES friend I32x16 operator&(I32x16 a, I32x16 b) noexcept { return _mm512_and_si512(a.v, b.v); }
    KYROX_AVX512_LANES friend I32x16 operator^(I32x16 a, I32x16 b) noexcept { return _mm512_xor_si512(a.v, b.v); }
    KYROX_AVX512_LANES friend Mask16 operator>(I32x16 a, I32x16 b) noexcept
    {
        return {_mm512_cmpgt_epi32_mask(a.v, b.v)};
    }
};

KYROX_AVX512_LANES I32x16 select(Mask16 mask, I32x16 a, I32x16 b) noexcept
{
    return _mm512_mask_blend_epi32(mask.k, b.v, a.v);
}

// i - 1 where mask is set, else i: one masked subtract.
KYROX_AVX512_LANES I32x16 decremented_where(Mask16 mask, I32x16 i) noexcept
{
    return _mm512_mask_sub_epi32(i.v, mask.k, i.v, _mm512_set1_epi32(1));
}

KYROX_AVX512_LANES I32x16 lesser(I32x16 a, I32x16 b) noexcept
{
    return _mm512_min_epi32(a.v, b.v);
}

KYROX_AVX512_LANES I32x16 greater(I32x16 a, I32x16 b) noexcept
{
    return _mm512_max_epi32(a.v, b.v);
}

// Each lane shifted right by Bits, the sign copied in.
template <int Bits>
KYROX_AVX512_LANES I32x16 shifted_right(I32x16 i) noexcept
{
    return _mm512_srai_epi32(i.v, Bits);
}

// Each lane as a float, and each float lane truncated toward zero (lanes well inside the int range).
KYROX_AVX512_LANES F32x16 to_float(I32x16 i) noexcept
{
    return _mm512_cvtepi32_ps(i.v);
}
KYROX_AVX512_LANES I32x16 truncated_int(F32x16 v) noexcept
{
    return _mm512_cvttps_epi32(v.v);
}

// The float at base[index] of each lane.
KYROX_AVX512_LANES F32x16 gather(const float* base, I32x16 index) noexcept
{
    return _mm512_i32gather_ps(index.v, base, 4);
}

// Lane i of the result is lane index[i] of v.
KYROX_AVX512_LANES F32x16 permute(F32x16 v, I32x16 index) noexcept
{
    return _mm512_permutexvar_ps(index.v, v.v);
}
KYROX_AVX512_LANES I32x16 permute(I32x16 v, I32x16 index) noexcept
{
    return _mm512_permutexvar_epi32(index.v, v.v);
}

}  // namespace kyrox::simd
