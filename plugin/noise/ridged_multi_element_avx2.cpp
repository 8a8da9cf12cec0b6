// RidgedMultiElement3D::value on eight lanes (ridged_multi_element_wide.h), with the gradient rows
// loaded whole and transposed.
#include "plugin/noise/ridged_multi_element.h"

#include "plugin/noise/gradient_table.h"
#include "plugin/noise/ridged_multi_element_wide.h"
#include "plugin/platform/simd/lanes_avx2.h"
#include "plugin/platform/simd/simd_path.h"

#include <array>
#include <cstddef>

namespace noisepp {
namespace {

using kyrox::simd::F32x8;
using kyrox::simd::I32x8;

KYROX_AVX2_TARGET __m128 row4(int index)
{
    return _mm_loadu_ps(&gradient_table[static_cast<std::size_t>(index)].x);
}

KYROX_AVX2_TARGET __m256 rows8(const std::array<int, 8>& index, std::size_t l)
{
    return _mm256_insertf128_ps(_mm256_castps128_ps256(row4(index[l])), row4(index[l + 4]), 1);
}

// Row loads and a transpose, as on this work scalar loads outpace gathers.
KYROX_AVX2_TARGET GradientLanes<F32x8> gradient_rows8(I32x8 row)
{
    alignas(32) std::array<int, 8> index{};
    row.store_aligned(index.data());
    // Lane l of r_i holds row l for i = l % 4, l + 4 in the upper half.
    const __m256 r0 = rows8(index, 0);
    const __m256 r1 = rows8(index, 1);
    const __m256 r2 = rows8(index, 2);
    const __m256 r3 = rows8(index, 3);
    const __m256 xy01 = _mm256_unpacklo_ps(r0, r1);
    const __m256 zw01 = _mm256_unpackhi_ps(r0, r1);
    const __m256 xy23 = _mm256_unpacklo_ps(r2, r3);
    const __m256 zw23 = _mm256_unpackhi_ps(r2, r3);
    return {_mm256_shuffle_ps(xy01, xy23, 0x44), _mm256_shuffle_ps(xy01, xy23, 0xee),
            _mm256_shuffle_ps(zw01, zw23, 0x44)};
}

KYROX_AVX2_TARGET bool ridged_sum8(std::span<const RidgedOctave> octaves, float offset, float gain,
                                   const std::array<float, 8>& x, const std::array<float, 8>& y,
                                   const std::array<float, 8>& z, std::array<float, 8>& out)
{
    return ridged_sum_lanes<F32x8, gradient_rows8>(octaves, offset, gain, x, y, z, out);
}

}  // namespace

bool RidgedMultiElement3D::value8(const std::array<float, 8>& x, const std::array<float, 8>& y,
                                  const std::array<float, 8>& z, std::array<float, 8>& out) const
{
    return quality_ == 1 && ridged_sum8(octaves_, offset_, gain_, x, y, z, out);
}

}  // namespace noisepp
