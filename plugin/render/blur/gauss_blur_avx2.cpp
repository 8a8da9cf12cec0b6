#include "plugin/render/blur/gauss_blur_kernels.h"

#include <array>
#include <cstddef>
#include <cstdint>

#include "plugin/platform/simd/pair_lanes.h"
#include "plugin/render/blur/gauss_blur_wide.h"

namespace kyrox {

namespace {

using simd::PairsX2;

// The eight cells of one plane row from a column on, as four registers of two. AVX2 has no masked
// float load that zeroes lanes for free, so the plane's outermost columns are cleared by a lane mask.
struct ColumnLoad {
    static constexpr std::size_t registers = static_cast<std::size_t>(gauss_column_group) / PairsX2::pairs;

    __m256 keep;

    KYROX_AVX2_TARGET ColumnLoad(std::int32_t column, std::int32_t width) noexcept
    {
        alignas(32) std::array<std::int32_t, gauss_column_group> keep_bits{};
        for (std::int32_t l = 0; l < gauss_column_group; ++l) {
            const std::int32_t j = column + l;
            keep_bits[static_cast<std::size_t>(l)] = j == 0 || j == width - 1 ? 0 : -1;
        }
        keep = _mm256_castsi256_ps(_mm256_load_si256(reinterpret_cast<const __m256i*>(keep_bits.data())));
    }

    KYROX_AVX2_TARGET std::array<PairsX2, registers> operator()(const float* values) const noexcept
    {
        const __m256 v = _mm256_and_ps(_mm256_loadu_ps(values), keep);
        const __m256d low = _mm256_cvtps_pd(_mm256_castps256_ps128(v));
        const __m256d high = _mm256_cvtps_pd(_mm256_extractf128_ps(v, 1));
        // Each value into both levels of its cell.
        return {_mm256_permute4x64_pd(low, 0x50), _mm256_permute4x64_pd(low, 0xfa), _mm256_permute4x64_pd(high, 0x50),
                _mm256_permute4x64_pd(high, 0xfa)};
    }
};

}  // namespace

KYROX_AVX2_TARGET void gauss_vertical_block_avx2(const FloatPlane& source, ColumnBlock block, const GaussPass& pass,
                                                 std::span<GaussPair> buffer, std::span<GaussPair> strip) noexcept
{
    gauss_vertical_block_wide<PairsX2, ColumnLoad>(source, block, pass, buffer, strip, gauss_vertical_block);
}

KYROX_AVX2_TARGET void gauss_horizontal_block_avx2(std::span<GaussPair> buffer, std::int32_t width, RowBlock block,
                                                   const GaussPass& pass) noexcept
{
    gauss_horizontal_block_wide<PairsX2>(buffer, width, block, pass, gauss_horizontal_block);
}

}  // namespace kyrox
