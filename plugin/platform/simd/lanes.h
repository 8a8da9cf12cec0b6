#pragma once

// Arithmetic on lanes, written once for every width. F32x4 (SSE2, the baseline) and F32x8 (AVX2,
// lanes_avx2.h) carry the operators and comparisons of float, and select and positive stand for the
// conditionals, so a formula written once as a KYROX_LANES template over float, F32x4 and F32x8
// takes the same operations in the same order on every lane of every width: the same bits. Each
// width also has one name for its loads and stores, its 32-bit integer lanes (I32x4, I32x8, I32x16),
// conversions, gathers and permutes, so that a wide driver is written once as a template over its
// lane type; only a kernel whose layout truly differs per width spells its own intrinsics.

// Every width's intrinsics, included here first for all the plug-in's wide code. GCC 12's AVX-512
// headers make their undefined-value registers from themselves, which -Wuninitialized reports in
// every function that inlines them (fixed in GCC 13).
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wuninitialized"
#ifndef __clang__
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#endif
#include <immintrin.h>
#pragma GCC diagnostic pop

#include <cmath>
#include <cstddef>
#include <cstdint>

#include "plugin/platform/simd/simd_path.h"

// A lane formula is inlined into its caller, so that its eight-lane form is compiled as AVX2 code
// inside the AVX2 kernel that uses it.
#define KYROX_LANES inline __attribute__((always_inline))

namespace kyrox::simd {

// Comparisons and conditionals of one lane, for formulas that also run on one value at a time.
KYROX_LANES float select(bool mask, float a, float b) noexcept
{
    return mask ? a : b;
}
KYROX_LANES float positive(float v) noexcept
{
    return v > 0.0f ? v : 0.0f;
}
KYROX_LANES float magnitude(float v) noexcept
{
    return std::fabs(v);
}

struct I32x4;

// Four float lanes. A comparison gives a lane mask: all bits set where it holds.
struct F32x4 {
    using Mask = F32x4;
    using Int = I32x4;
    static constexpr std::size_t size = 4;

    __m128 v;
    F32x4(__m128 lanes) noexcept : v(lanes) {}
    F32x4(float x) noexcept : v(_mm_set1_ps(x)) {}
    operator __m128() const noexcept { return v; }

    // size floats from p on; the aligned forms need p aligned to the register's size.
    KYROX_LANES static F32x4 load(const float* p) noexcept { return _mm_loadu_ps(p); }
    KYROX_LANES static F32x4 load_aligned(const float* p) noexcept { return _mm_load_ps(p); }
    KYROX_LANES void store(float* p) const noexcept { _mm_storeu_ps(p, v); }
    KYROX_LANES void store_aligned(float* p) const noexcept { _mm_store_ps(p, v); }

    KYROX_LANES friend F32x4 operator+(F32x4 a, F32x4 b) noexcept { return _mm_add_ps(a.v, b.v); }
    KYROX_LANES friend F32x4 operator-(F32x4 a, F32x4 b) noexcept { return _mm_sub_ps(a.v, b.v); }
    KYROX_LANES friend F32x4 operator*(F32x4 a, F32x4 b) noexcept { return _mm_mul_ps(a.v, b.v); }
    KYROX_LANES friend F32x4 operator/(F32x4 a, F32x4 b) noexcept { return _mm_div_ps(a.v, b.v); }
    KYROX_LANES friend F32x4 operator<(F32x4 a, F32x4 b) noexcept { return _mm_cmplt_ps(a.v, b.v); }
    KYROX_LANES friend F32x4 operator>(F32x4 a, F32x4 b) noexcept { return _mm_cmpgt_ps(a.v, b.v); }
    KYROX_LANES friend F32x4 operator>=(F32x4 a, F32x4 b) noexcept { return _mm_cmpge_ps(a.v, b.v); }
    KYROX_LANES friend F32x4 operator==(F32x4 a, F32x4 b) noexcept { return _mm_cmpeq_ps(a.v, b.v); }
};

// a where mask is set, else b.
KYROX_LANES F32x4 select(F32x4 mask, F32x4 a, F32x4 b) noexcept
{
    return _mm_or_ps(_mm_and_ps(mask.v, a.v), _mm_andnot_ps(mask.v, b.v));
}

// a where a is below b, else b (NaN in either gives b), as minps.
KYROX_LANES F32x4 lesser(F32x4 a, F32x4 b) noexcept
{
    return _mm_min_ps(a.v, b.v);
}

// v where v is above 0, else 0 (NaN too).
KYROX_LANES F32x4 positive(F32x4 v) noexcept
{
    // maxps gives its second operand unless the first is greater: 0 for NaN and -0, as v > 0 ? v : 0.
    return _mm_max_ps(v.v, _mm_setzero_ps());
}

// |v|: the sign bit cleared, as std::fabs clears it (NaN included).
KYROX_LANES F32x4 magnitude(F32x4 v) noexcept
{
    return _mm_and_ps(v.v, _mm_castsi128_ps(_mm_set1_epi32(0x7fffffff)));
}

// Each lane truncated toward zero to a whole value; lanes must lie well inside the int range.
KYROX_LANES F32x4 truncated(F32x4 v) noexcept
{
    return _mm_cvtepi32_ps(_mm_cvttps_epi32(v.v));
}

// Whether every lane lies strictly between -2^30 and 2^30 (NaN does not): where the lane forms of
// the one-at-a-time floor and cell reads hold.
KYROX_LANES bool safe_positions(F32x4 v) noexcept
{
    const __m128 limit = _mm_set1_ps(1073741824.0f);
    const __m128 inside = _mm_and_ps(_mm_cmplt_ps(v.v, limit), _mm_cmpgt_ps(v.v, _mm_sub_ps(_mm_setzero_ps(), limit)));
    return _mm_movemask_ps(inside) == 0xf;
}

// Four 32-bit integer lanes, wrapping as unsigned arithmetic does, in SSE2 alone (the multiply too).
struct I32x4 {
    using Float = F32x4;
    static constexpr std::size_t size = 4;

    __m128i v;
    I32x4(__m128i lanes) noexcept : v(lanes) {}
    I32x4(std::int32_t x) noexcept : v(_mm_set1_epi32(x)) {}
    operator __m128i() const noexcept { return v; }

    // p aligned to 16 bytes.
    KYROX_LANES static I32x4 load_aligned(const std::int32_t* p) noexcept
    {
        return _mm_load_si128(reinterpret_cast<const __m128i*>(p));
    }
    KYROX_LANES void store_aligned(std::int32_t* p) const noexcept
    {
        _mm_store_si128(reinterpret_cast<__m128i*>(p), v);
    }

    KYROX_LANES friend I32x4 operator+(I32x4 a, I32x4 b) noexcept { return _mm_add_epi32(a.v, b.v); }
    KYROX_LANES friend I32x4 operator-(I32x4 a, I32x4 b) noexcept { return _mm_sub_epi32(a.v, b.v); }
    // The low halves of the 64-bit products of lanes 0 and 2, then of 1 and 3, interleaved back.
    KYROX_LANES friend I32x4 operator*(I32x4 a, I32x4 b) noexcept
    {
        const __m128i even = _mm_mul_epu32(a.v, b.v);
        const __m128i odd = _mm_mul_epu32(_mm_srli_epi64(a.v, 32), _mm_srli_epi64(b.v, 32));
        return _mm_unpacklo_epi32(_mm_shuffle_epi32(even, _MM_SHUFFLE(0, 0, 2, 0)),
                                  _mm_shuffle_epi32(odd, _MM_SHUFFLE(0, 0, 2, 0)));
    }
    KYROX_LANES friend I32x4 operator&(I32x4 a, I32x4 b) noexcept { return _mm_and_si128(a.v, b.v); }
    KYROX_LANES friend I32x4 operator^(I32x4 a, I32x4 b) noexcept { return _mm_xor_si128(a.v, b.v); }
};

// i - 1 where mask is set, else i: one add of the mask's all-ones lanes.
KYROX_LANES I32x4 decremented_where(F32x4 mask, I32x4 i) noexcept
{
    return _mm_add_epi32(i.v, _mm_castps_si128(mask.v));
}

// Each lane shifted right by Bits, the sign copied in, as >> shifts a negative int.
template <int Bits>
KYROX_LANES I32x4 shifted_right(I32x4 i) noexcept
{
    return _mm_srai_epi32(i.v, Bits);
}

// Each lane as a float, and each float lane truncated toward zero (lanes well inside the int range).
KYROX_LANES F32x4 to_float(I32x4 i) noexcept
{
    return _mm_cvtepi32_ps(i.v);
}
KYROX_LANES I32x4 truncated_int(F32x4 v) noexcept
{
    return _mm_cvttps_epi32(v.v);
}

// The one-at-a-time noise floor of each lane of a safe position: whole values (and -0) come back
// unchanged.
template <class V>
KYROX_LANES V floor_lanes(V v) noexcept
{
    const V whole = truncated(v);
    const V below = select(v < 0.0f, whole - 1.0f, whole);
    return select(whole == v, v, below);
}

// The bilinear blend of the one-at-a-time reads: (1 - ty) x ((1 - tx) x a + tx x b) +
// ty x ((1 - tx) x c + tx x d).
template <class V>
KYROX_LANES V bilinear_blend(V tx, V ty, V a, V b, V c, V d) noexcept
{
    const V sx = 1.0f - tx;
    return (1.0f - ty) * (sx * a + tx * b) + ty * (sx * c + tx * d);
}

}  // namespace kyrox::simd
