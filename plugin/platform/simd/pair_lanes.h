#pragma once

// Doubles taken two at a time: a register holds `pairs` pairs side by side, each pair the two values of
// one cell, so that a recursion over cells runs on several cells at once. PairsX2 (AVX2) and PairsX4
// (AVX-512) have one name for every operation, so that a driver written once as a KYROX_LANES template
// over the pair type is compiled for each width inside its target-attributed caller. As with the float
// lanes, only code of the matching path may call them.

#include <cstddef>

#include "plugin/platform/simd/lanes_avx2.h"
#include "plugin/platform/simd/lanes_avx512.h"

namespace kyrox::simd {

// Two pairs of doubles.
struct PairsX2 {
    static constexpr std::size_t pairs = 2;

    __m256d v;
    PairsX2() = default;
    KYROX_AVX2_TARGET PairsX2(__m256d lanes) noexcept : v(lanes) {}
    KYROX_AVX2_TARGET PairsX2(double x) noexcept : v(_mm256_set1_pd(x)) {}

    // (a, b) in every pair.
    KYROX_AVX2_LANES static PairsX2 repeated(double a, double b) noexcept { return _mm256_setr_pd(a, b, a, b); }
    // 2 x pairs doubles from p on.
    KYROX_AVX2_LANES static PairsX2 load(const double* p) noexcept { return _mm256_loadu_pd(p); }
    KYROX_AVX2_LANES void store(double* p) const noexcept { _mm256_storeu_pd(p, v); }
    // Pair k from or to p + k x stride doubles.
    KYROX_AVX2_LANES static PairsX2 load_strided(const double* p, std::size_t stride) noexcept
    {
        return _mm256_loadu2_m128d(p + stride, p);
    }
    KYROX_AVX2_LANES void store_strided(double* p, std::size_t stride) const noexcept
    {
        _mm256_storeu2_m128d(p + stride, p, v);
    }
    // The pairs stored from p on past the cache, p 16-byte aligned; _mm_sfence orders them after.
    KYROX_AVX2_LANES void stream(double* p) const noexcept
    {
        _mm_stream_pd(p, _mm256_castpd256_pd128(v));
        _mm_stream_pd(p + 2, _mm256_extractf128_pd(v, 1));
    }

    KYROX_AVX2_LANES friend PairsX2 operator+(PairsX2 a, PairsX2 b) noexcept { return _mm256_add_pd(a.v, b.v); }
    KYROX_AVX2_LANES friend PairsX2 operator-(PairsX2 a, PairsX2 b) noexcept { return _mm256_sub_pd(a.v, b.v); }
    KYROX_AVX2_LANES friend PairsX2 operator*(PairsX2 a, PairsX2 b) noexcept { return _mm256_mul_pd(a.v, b.v); }
};

// Four pairs of doubles.
struct PairsX4 {
    static constexpr std::size_t pairs = 4;

    __m512d v;
    PairsX4() = default;
    KYROX_AVX512_TARGET PairsX4(__m512d lanes) noexcept : v(lanes) {}
    KYROX_AVX512_TARGET PairsX4(double x) noexcept : v(_mm512_set1_pd(x)) {}

    KYROX_AVX512_LANES static PairsX4 repeated(double a, double b) noexcept
    {
        return _mm512_setr_pd(a, b, a, b, a, b, a, b);
    }
    KYROX_AVX512_LANES static PairsX4 load(const double* p) noexcept { return _mm512_loadu_pd(p); }
    KYROX_AVX512_LANES void store(double* p) const noexcept { _mm512_storeu_pd(p, v); }
    KYROX_AVX512_LANES static PairsX4 load_strided(const double* p, std::size_t stride) noexcept
    {
        __m512d lanes = _mm512_castpd128_pd512(_mm_loadu_pd(p));
        lanes = _mm512_insertf64x2(lanes, _mm_loadu_pd(p + stride), 1);
        lanes = _mm512_insertf64x2(lanes, _mm_loadu_pd(p + 2 * stride), 2);
        return _mm512_insertf64x2(lanes, _mm_loadu_pd(p + 3 * stride), 3);
    }
    KYROX_AVX512_LANES void store_strided(double* p, std::size_t stride) const noexcept
    {
        _mm_storeu_pd(p, _mm512_castpd512_pd128(v));
        _mm_storeu_pd(p + stride, _mm512_extractf64x2_pd(v, 1));
        _mm_storeu_pd(p + 2 * stride, _mm512_extractf64x2_pd(v, 2));
        _mm_storeu_pd(p + 3 * stride, _mm512_extractf64x2_pd(v, 3));
    }
    // Four 16-byte streams: p is only sure to be 16-byte aligned.
    KYROX_AVX512_LANES void stream(double* p) const noexcept
    {
        _mm_stream_pd(p, _mm512_castpd512_pd128(v));
        _mm_stream_pd(p + 2, _mm512_extractf64x2_pd(v, 1));
        _mm_stream_pd(p + 4, _mm512_extractf64x2_pd(v, 2));
        _mm_stream_pd(p + 6, _mm512_extractf64x2_pd(v, 3));
    }

    KYROX_AVX512_LANES friend PairsX4 operator+(PairsX4 a, PairsX4 b) noexcept { return _mm512_add_pd(a.v, b.v); }
    KYROX_AVX512_LANES friend PairsX4 operator-(PairsX4 a, PairsX4 b) noexcept { return _mm512_sub_pd(a.v, b.v); }
    KYROX_AVX512_LANES friend PairsX4 operator*(PairsX4 a, PairsX4 b) noexcept { return _mm512_mul_pd(a.v, b.v); }
};

}  // namespace kyrox::simd
