#pragma once

// The eight-lane twin of F32x4 (lanes.h) with AVX2. Every function here is compiled for AVX2
// whatever the including file is compiled for, so only AVX2 code, run where widest_path() allows,
// may call them or instantiate a lane formula with F32x8.

#include <cstddef>
#include <cstdint>

#include "plugin/platform/simd/lanes.h"

// Not forced inline: a lane formula is inlined into its AVX2 caller first, and these then inline
// there; forcing them would fail inside the formula's own baseline-compiled body.
#define KYROX_AVX2_LANES inline KYROX_AVX2_TARGET

namespace kyrox::simd {

struct I32x8;

struct F32x8 {
    using Mask = F32x8;
    using Int = I32x8;
    static constexpr std::size_t size = 8;

    __m256 v;
    KYROX_AVX2_TARGET F32x8(__m256 lanes) noexcept : v(lanes) {}
    KYROX_AVX2_TARGET F32x8(float x) noexcept : v(_mm256_set1_ps(x)) {}
    KYROX_AVX2_TARGET operator __m256() const noexcept { return v; }

    // size floats from p on; the aligned forms need p aligned to 32 bytes.
    KYROX_AVX2_LANES static F32x8 load(const float* p) noexcept { return _mm256_loadu_ps(p); }
    KYROX_AVX2_LANES static F32x8 load_aligned(const float* p) noexcept { return _mm256_load_ps(p); }
    KYROX_AVX2_LANES void store(float* p) const noexcept { _mm256_storeu_ps(p, v); }
    KYROX_AVX2_LANES void store_aligned(float* p) const noexcept { _mm256_store_ps(p, v); }

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

// a where a is below b, else b (NaN in either gives b).
KYROX_AVX2_LANES F32x8 lesser(F32x8 a, F32x8 b) noexcept
{
    return _mm256_min_ps(a.v, b.v);
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

// Eight 32-bit integer lanes, wrapping as unsigned arithmetic does. A comparison gives the lane
// masks of F32x8, so that one select serves both.
struct I32x8 {
    using Float = F32x8;
    static constexpr std::size_t size = 8;

    __m256i v;
    KYROX_AVX2_TARGET I32x8(__m256i lanes) noexcept : v(lanes) {}
    KYROX_AVX2_TARGET I32x8(std::int32_t x) noexcept : v(_mm256_set1_epi32(x)) {}
    KYROX_AVX2_TARGET operator __m256i() const noexcept { return v; }

    // first, first + 1, ..., first + 7.
    KYROX_AVX2_LANES static I32x8 sequence(std::int32_t first) noexcept
    {
        return _mm256_add_epi32(_mm256_set1_epi32(first), _mm256_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7));
    }
    // p aligned to 32 bytes.
    KYROX_AVX2_LANES static I32x8 load_aligned(const std::int32_t* p) noexcept
    {
        return _mm256_load_si256(reinterpret_cast<const __m256i*>(p));
    }
    KYROX_AVX2_LANES void store_aligned(std::int32_t* p) const noexcept
    {
        _mm256_store_si256(reinterpret_cast<__m256i*>(p), v);
    }
    KYROX_AVX2_LANES std::int32_t first() const noexcept { return _mm256_cvtsi256_si32(v); }
    KYROX_AVX2_LANES std::int32_t last() const noexcept { return _mm256_extract_epi32(v, 7); }

    KYROX_AVX2_LANES friend I32x8 operator+(I32x8 a, I32x8 b) noexcept { return _mm256_add_epi32(a.v, b.v); }
    KYROX_AVX2_LANES friend I32x8 operator-(I32x8 a, I32x8 b) noexcept { return _mm256_sub_epi32(a.v, b.v); }
    KYROX_AVX2_LANES friend I32x8 operator*(I32x8 a, I32x8 b) noexcept { return _mm256_mullo_epi32(a.v, b.v); }
    KYROX_AVX2_LANES friend I32x8 operator&(I32x8 a, I32x8 b) noexcept { return _mm256_and_si256(a.v, b.v); }
    KYROX_AVX2_LANES friend I32x8 operator^(I32x8 a, I32x8 b) noexcept { return _mm256_xor_si256(a.v, b.v); }
    KYROX_AVX2_LANES friend F32x8 operator>(I32x8 a, I32x8 b) noexcept
    {
        return _mm256_castsi256_ps(_mm256_cmpgt_epi32(a.v, b.v));
    }
};

KYROX_AVX2_LANES I32x8 select(F32x8 mask, I32x8 a, I32x8 b) noexcept
{
    return _mm256_castps_si256(_mm256_blendv_ps(_mm256_castsi256_ps(b.v), _mm256_castsi256_ps(a.v), mask.v));
}

// i - 1 where mask is set, else i: one add of the mask's all-ones lanes.
KYROX_AVX2_LANES I32x8 decremented_where(F32x8 mask, I32x8 i) noexcept
{
    return _mm256_add_epi32(i.v, _mm256_castps_si256(mask.v));
}

KYROX_AVX2_LANES I32x8 lesser(I32x8 a, I32x8 b) noexcept
{
    return _mm256_min_epi32(a.v, b.v);
}

KYROX_AVX2_LANES I32x8 greater(I32x8 a, I32x8 b) noexcept
{
    return _mm256_max_epi32(a.v, b.v);
}

// Each lane shifted right by Bits, the sign copied in, as >> shifts a negative int.
template <int Bits>
KYROX_AVX2_LANES I32x8 shifted_right(I32x8 i) noexcept
{
    return _mm256_srai_epi32(i.v, Bits);
}

// Each lane as a float, and each float lane truncated toward zero (lanes well inside the int range).
KYROX_AVX2_LANES F32x8 to_float(I32x8 i) noexcept
{
    return _mm256_cvtepi32_ps(i.v);
}
KYROX_AVX2_LANES I32x8 truncated_int(F32x8 v) noexcept
{
    return _mm256_cvttps_epi32(v.v);
}

// The float at base[index] of each lane.
KYROX_AVX2_LANES F32x8 gather(const float* base, I32x8 index) noexcept
{
    return _mm256_i32gather_ps(base, index.v, 4);
}

// Lane i of the result is lane index[i] of v.
KYROX_AVX2_LANES F32x8 permute(F32x8 v, I32x8 index) noexcept
{
    return _mm256_permutevar8x32_ps(v.v, index.v);
}
KYROX_AVX2_LANES I32x8 permute(I32x8 v, I32x8 index) noexcept
{
    return _mm256_permutevar8x32_epi32(v.v, index.v);
}

}  // namespace kyrox::simd
