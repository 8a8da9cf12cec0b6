#include "plugin/render/blur/gauss_blur_kernels.h"

#include <array>
#include <cstddef>
#include <cstdint>

#include "plugin/platform/simd/pair_lanes.h"
#include "plugin/render/blur/gauss_blur_wide.h"

// A register holds twice the cells of the AVX2 pass's, and as many of them run side by side: the
// recursions wait on their previous step, so twice the cells go through in about the same time.

namespace kyrox {

namespace {

using simd::PairsX4;

// The sixteen cells of one plane row from a column on, as four registers of four. The plane's
// outermost columns load as zero through the load's mask register, which costs nothing more.
struct ColumnLoad {
    static constexpr std::size_t registers = static_cast<std::size_t>(gauss_wide_column_group) / PairsX4::pairs;

    __mmask16 keep = 0xffff;

    KYROX_AVX512_TARGET ColumnLoad(std::int32_t column, std::int32_t width) noexcept
    {
        for (std::int32_t l = 0; l < gauss_wide_column_group; ++l) {
            const std::int32_t j = column + l;
            if (j == 0 || j == width - 1) {
                keep = static_cast<__mmask16>(keep & ~(1u << l));
            }
        }
    }

    KYROX_AVX512_TARGET std::array<PairsX4, registers> operator()(const float* values) const noexcept
    {
        const __m512 v = _mm512_maskz_loadu_ps(keep, values);
        const __m512d low = _mm512_cvtps_pd(_mm512_castps512_ps256(v));
        const __m512d high = _mm512_cvtps_pd(_mm256_castpd_ps(_mm512_extractf64x4_pd(_mm512_castps_pd(v), 1)));
        // Each value into both levels of its cell.
        const __m512i first_four = _mm512_setr_epi64(0, 0, 1, 1, 2, 2, 3, 3);
        const __m512i last_four = _mm512_setr_epi64(4, 4, 5, 5, 6, 6, 7, 7);
        return {_mm512_permutexvar_pd(first_four, low), _mm512_permutexvar_pd(last_four, low),
                _mm512_permutexvar_pd(first_four, high), _mm512_permutexvar_pd(last_four, high)};
    }
};

}  // namespace

KYROX_AVX512_TARGET void gauss_vertical_block_avx512(const FloatPlane& source, ColumnBlock block, const GaussPass& pass,
                                                     std::span<GaussPair> buffer, std::span<GaussPair> strip) noexcept
{
    gauss_vertical_block_wide<PairsX4, ColumnLoad>(source, block, pass, buffer, strip, gauss_vertical_block_avx2);
}

KYROX_AVX512_TARGET void gauss_horizontal_block_avx512(std::span<GaussPair> buffer, std::int32_t width, RowBlock block,
                                                       const GaussPass& pass) noexcept
{
    gauss_horizontal_block_wide<PairsX4>(buffer, width, block, pass, gauss_horizontal_block_avx2);
}

}  // namespace kyrox
