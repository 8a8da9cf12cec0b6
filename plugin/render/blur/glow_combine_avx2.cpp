#include "plugin/render/blur/glow_combine.h"

#ifdef KYROX_AVX2

#include <immintrin.h>

#include "plugin/noise/noise_floor8.h"

// Each lane takes the one-at-a-time loop's operations in its order, without fused multiply-adds,
// so the results are the same bits.

namespace kyrox {

namespace {

using simd::positive8;

// Screens t over g.
KYROX_AVX2_TARGET inline __m256 screen8(__m256 g, __m256 t) noexcept
{
    return _mm256_add_ps(_mm256_mul_ps(positive8(_mm256_sub_ps(_mm256_set1_ps(1.0f), t)), g), positive8(t));
}

// The tone curve for a pre-gamma of 1.
KYROX_AVX2_TARGET inline __m256 shaped8(__m256 p, float weight, __m256 brightness) noexcept
{
    const __m256 curve = _mm256_add_ps(
        _mm256_mul_ps(
            _mm256_add_ps(_mm256_mul_ps(_mm256_add_ps(_mm256_mul_ps(_mm256_set1_ps(0.48f), p), _mm256_set1_ps(0.186286f)), p),
                          _mm256_set1_ps(0.333714f)),
            p),
        _mm256_set1_ps(0.000485714f));
    return _mm256_mul_ps(_mm256_add_ps(p, _mm256_mul_ps(_mm256_set1_ps(weight), _mm256_sub_ps(curve, p))), brightness);
}

// Lane 0 and lane 1 of eight cells as floats, in cell order.
KYROX_AVX2_TARGET inline void cell_lanes(const GaussPair* cells, __m256& lane0, __m256& lane1) noexcept
{
    const double* d = &cells[0].lane0;
    const __m256d c01 = _mm256_loadu_pd(d);
    const __m256d c23 = _mm256_loadu_pd(d + 4);
    const __m256d c45 = _mm256_loadu_pd(d + 8);
    const __m256d c67 = _mm256_loadu_pd(d + 12);
    // The unpacks give cells 0, 2, 1, 3 and 4, 6, 5, 7; the permutation puts them back in order.
    const __m256i order = _mm256_setr_epi32(0, 2, 1, 3, 4, 6, 5, 7);
    lane0 = _mm256_permutevar8x32_ps(
        _mm256_set_m128(_mm256_cvtpd_ps(_mm256_unpacklo_pd(c45, c67)), _mm256_cvtpd_ps(_mm256_unpacklo_pd(c01, c23))),
        order);
    lane1 = _mm256_permutevar8x32_ps(
        _mm256_set_m128(_mm256_cvtpd_ps(_mm256_unpackhi_pd(c45, c67)), _mm256_cvtpd_ps(_mm256_unpackhi_pd(c01, c23))),
        order);
}

}  // namespace

KYROX_AVX2_TARGET std::size_t combine_row_plain8_avx2(const CombineRow& row, std::size_t first, std::size_t end,
                                               const CombineValues& values) noexcept
{
    const CombineValues v = values;
    const __m256 one = _mm256_set1_ps(1.0f);
    const __m256 brightness = _mm256_set1_ps(v.brightness);
    std::size_t j = first;
    for (; j + 8 <= end; j += 8) {
        __m256 l12_0;
        __m256 l12_1;
        __m256 l34_0;
        __m256 l34_1;
        cell_lanes(row.levels12 + j, l12_0, l12_1);
        cell_lanes(row.levels34 + j, l34_0, l34_1);
        // Level 1 maps 0.005..1 onto 0..1.
        const __m256 x1 = _mm256_mul_ps(
            _mm256_sub_ps(_mm256_mul_ps(l12_0, _mm256_set1_ps(v.intensities[0])), _mm256_set1_ps(0.005f)),
            _mm256_set1_ps(1.0050251f));
        const __m256 x2 = _mm256_mul_ps(l12_1, _mm256_set1_ps(v.intensities[1]));
        const __m256 x3 = _mm256_mul_ps(l34_0, _mm256_set1_ps(v.intensities[2]));
        const __m256 x4 = _mm256_mul_ps(l34_1, _mm256_set1_ps(v.intensities[3]));
        __m256 g = _mm256_setzero_ps();
        g = screen8(g, shaped8(x1, v.weights[0], brightness));
        g = screen8(g, shaped8(x2, v.weights[1], brightness));
        g = screen8(g, shaped8(x3, v.weights[2], brightness));
        _mm256_storeu_ps(row.glow + j, g);
        const __m256 t4 = shaped8(x4, v.weights[3], brightness);
        const __m256 h = positive8(_mm256_blendv_ps(t4, one, _mm256_cmp_ps(t4, one, _CMP_GE_OQ)));
        const __m256 core = _mm256_loadu_ps(row.core + j);
        _mm256_storeu_ps(row.halo + j, _mm256_add_ps(_mm256_mul_ps(h, _mm256_sub_ps(one, core)), core));
    }
    return j;
}

}  // namespace kyrox

#endif
