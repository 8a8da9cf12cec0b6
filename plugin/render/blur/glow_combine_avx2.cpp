#include "plugin/platform/simd/lanes_avx2.h"
#include "plugin/render/blur/glow_combine_kernels.h"

namespace kyrox {

namespace {

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

KYROX_AVX2_TARGET std::size_t combine_row_plain_avx2(const CombineRow& row, std::size_t first, std::size_t end,
                                                     const CombineValues& values) noexcept
{
    const CombineValues v = values;
    std::size_t j = first;
    for (; j + 8 <= end; j += 8) {
        __m256 l12_0;
        __m256 l12_1;
        __m256 l34_0;
        __m256 l34_1;
        cell_lanes(row.levels12 + j, l12_0, l12_1);
        cell_lanes(row.levels34 + j, l34_0, l34_1);
        const GlowCell<simd::F32x8> cell =
            combine_plain_cell<simd::F32x8>(l12_0, l12_1, l34_0, l34_1, _mm256_loadu_ps(row.core + j), v);
        _mm256_storeu_ps(row.glow + j, cell.glow);
        _mm256_storeu_ps(row.halo + j, cell.halo);
    }
    return j;
}

}  // namespace kyrox
