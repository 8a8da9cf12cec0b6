#include "plugin/platform/simd/lanes_avx2.h"
#include "plugin/render/blur/glow_combine_kernels.h"

namespace kyrox {

namespace {

// Eight cells' lanes: the 256-bit unpacks work within each half, so a permutation puts the cells back
// in order.
struct CellLanesX8 {
    KYROX_AVX2_TARGET CellLanes<simd::F32x8> operator()(const GaussPair* cells) const noexcept
    {
        const double* d = &cells[0].lane0;
        const __m256d c01 = _mm256_loadu_pd(d);
        const __m256d c23 = _mm256_loadu_pd(d + 4);
        const __m256d c45 = _mm256_loadu_pd(d + 8);
        const __m256d c67 = _mm256_loadu_pd(d + 12);
        // The unpacks give cells 0, 2, 1, 3 and 4, 6, 5, 7.
        const __m256i order = _mm256_setr_epi32(0, 2, 1, 3, 4, 6, 5, 7);
        return {_mm256_permutevar8x32_ps(_mm256_set_m128(_mm256_cvtpd_ps(_mm256_unpacklo_pd(c45, c67)),
                                                         _mm256_cvtpd_ps(_mm256_unpacklo_pd(c01, c23))),
                                         order),
                _mm256_permutevar8x32_ps(_mm256_set_m128(_mm256_cvtpd_ps(_mm256_unpackhi_pd(c45, c67)),
                                                         _mm256_cvtpd_ps(_mm256_unpackhi_pd(c01, c23))),
                                         order)};
    }
};

}  // namespace

KYROX_AVX2_TARGET std::size_t combine_row_plain_avx2(const CombineRow& row, std::size_t first, std::size_t end,
                                                     const CombineValues& values) noexcept
{
    return combine_row_plain_lanes<simd::F32x8>(row, first, end, values, CellLanesX8{});
}

}  // namespace kyrox
