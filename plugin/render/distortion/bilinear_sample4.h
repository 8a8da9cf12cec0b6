#pragma once
// Four bilinear reads at once with SSE2. Each lane computes
// what the one-at-a-time read of bilinear_sample.h computes, with the same operations in the same
// order, for positions well inside the int range (where the one-at-a-time read's special cases for
// huge positions and NaN cannot arise); callers check that with safe_positions and read the others
// one at a time.

#include "plugin/noise/noise_floor4.h"

#ifdef KYROX_SSE2

#include <cstddef>
#include <cstdint>

#include "plugin/render/distortion/bilinear_sample.h"

namespace kyrox::simd {

// index clamped to [0, count - 1].
inline __m128i clamp4(__m128i index, std::int32_t count) noexcept
{
    const __m128i positive = _mm_and_si128(index, _mm_cmpgt_epi32(index, _mm_setzero_si128()));
    const __m128i last = _mm_set1_epi32(count - 1);
    const __m128i above = _mm_cmpgt_epi32(positive, last);
    return _mm_or_si128(_mm_and_si128(above, last), _mm_andnot_si128(above, positive));
}

// The two clamped cells a read at the (safe) position v blends, and its fraction past the first.
struct Cells4 {
    alignas(16) std::int32_t first[4];
    alignas(16) std::int32_t second[4];
    __m128 fraction;
};

inline Cells4 cells4(__m128 v, std::int32_t count) noexcept
{
    const __m128 floored = floor4(v);
    const __m128i cell = _mm_cvttps_epi32(_mm_add_ps(floored, _mm_set1_ps(0.5f)));
    Cells4 c;
    _mm_store_si128(reinterpret_cast<__m128i*>(c.first), clamp4(cell, count));
    _mm_store_si128(reinterpret_cast<__m128i*>(c.second), clamp4(_mm_add_epi32(cell, _mm_set1_epi32(1)), count));
    c.fraction = _mm_sub_ps(v, floored);
    return c;
}

// (1 - ty) x ((1 - tx) x a + tx x b) + ty x ((1 - tx) x c + tx x d), as the one-at-a-time read.
inline __m128 blend4(__m128 tx, __m128 ty, __m128 a, __m128 b, __m128 c, __m128 d) noexcept
{
    const __m128 one = _mm_set1_ps(1.0f);
    const __m128 sx = _mm_sub_ps(one, tx);
    const __m128 upper = _mm_add_ps(_mm_mul_ps(sx, a), _mm_mul_ps(tx, b));
    const __m128 lower = _mm_add_ps(_mm_mul_ps(sx, c), _mm_mul_ps(tx, d));
    return _mm_add_ps(_mm_mul_ps(_mm_sub_ps(one, ty), upper), _mm_mul_ps(ty, lower));
}

// Four reads of a two-channel plane along one pair of rows, at safe x positions.
inline void bilinear4_along(const BilinearRows<2>& rows, std::int32_t width, __m128 x, __m128& first,
                            __m128& second) noexcept
{
    const Cells4 c = cells4(x, width);
    const auto at = [](const float* row, const std::int32_t* cells, std::size_t channel) {
        return _mm_setr_ps(row[2 * cells[0] + channel], row[2 * cells[1] + channel], row[2 * cells[2] + channel],
                           row[2 * cells[3] + channel]);
    };
    const __m128 ty = _mm_set1_ps(rows.ty);
    first = blend4(c.fraction, ty, at(rows.top, c.first, 0), at(rows.top, c.second, 0), at(rows.bottom, c.first, 0),
                   at(rows.bottom, c.second, 0));
    second = blend4(c.fraction, ty, at(rows.top, c.first, 1), at(rows.top, c.second, 1),
                    at(rows.bottom, c.first, 1), at(rows.bottom, c.second, 1));
}

// Four reads of a one-channel plane at safe positions.
inline __m128 bilinear4(const WorldView& plane, __m128 x, __m128 y) noexcept
{
    const Cells4 columns = cells4(x, plane.width);
    const Cells4 rows = cells4(y, plane.height);
    const auto* base = static_cast<const unsigned char*>(plane.data);
    const auto row = [&](std::int32_t r) {
        return reinterpret_cast<const float*>(base + static_cast<std::size_t>(r) * static_cast<std::size_t>(plane.row_bytes));
    };
    alignas(16) float a[4];
    alignas(16) float b[4];
    alignas(16) float c[4];
    alignas(16) float d[4];
    for (std::size_t l = 0; l < 4; ++l) {
        const float* top = row(rows.first[l]);
        const float* bottom = row(rows.second[l]);
        a[l] = top[columns.first[l]];
        b[l] = top[columns.second[l]];
        c[l] = bottom[columns.first[l]];
        d[l] = bottom[columns.second[l]];
    }
    return blend4(columns.fraction, rows.fraction, _mm_load_ps(a), _mm_load_ps(b), _mm_load_ps(c), _mm_load_ps(d));
}

}  // namespace kyrox::simd

#endif
