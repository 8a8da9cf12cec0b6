// RidgedMultiElement3D::value on sixteen lanes (ridged_multi_element_wide.h), with the gradient rows
// gathered.
#include "plugin/noise/ridged_multi_element.h"

#include "plugin/noise/gradient_table.h"
#include "plugin/noise/ridged_multi_element_wide.h"
#include "plugin/platform/simd/lanes_avx512.h"
#include "plugin/platform/simd/simd_path.h"

#include <array>

namespace noisepp {
namespace {

using kyrox::simd::F32x16;
using kyrox::simd::I32x16;

// x and y as one 64-bit pair per lane in two gathers of eight, split into even and odd floats, and z
// in a gather of sixteen. That measured ahead of three gathers of sixteen, of four of eight (adding z
// and w as pairs), and of the eight-lane form's row loads and transpose, which spend a shuffle on
// every row here.
KYROX_AVX512_TARGET GradientLanes<F32x16> gradient_rows16(I32x16 row)
{
    const float* table = &gradient_table[0].x;
    const __m512i pair = _mm512_slli_epi32(row, 1);
    const __m512 low = _mm512_castpd_ps(_mm512_i32gather_pd(_mm512_castsi512_si256(pair), table, 8));
    const __m512 high = _mm512_castpd_ps(_mm512_i32gather_pd(_mm512_extracti32x8_epi32(pair, 1), table, 8));
    const __m512i even = _mm512_setr_epi32(0, 2, 4, 6, 8, 10, 12, 14, 16, 18, 20, 22, 24, 26, 28, 30);
    const __m512i odd = _mm512_add_epi32(even, _mm512_set1_epi32(1));
    return {_mm512_permutex2var_ps(low, even, high), _mm512_permutex2var_ps(low, odd, high),
            _mm512_i32gather_ps(_mm512_slli_epi32(row, 2), table + 2, 4)};
}

KYROX_AVX512_TARGET bool ridged_sum16(std::span<const RidgedOctave> octaves, float offset, float gain,
                                      const std::array<float, 16>& x, const std::array<float, 16>& y,
                                      const std::array<float, 16>& z, std::array<float, 16>& out)
{
    return ridged_sum_lanes<F32x16, gradient_rows16>(octaves, offset, gain, x, y, z, out);
}

}  // namespace

bool RidgedMultiElement3D::value16(const std::array<float, 16>& x, const std::array<float, 16>& y,
                                   const std::array<float, 16>& z, std::array<float, 16>& out) const
{
    return quality_ == 1 && ridged_sum16(octaves_, offset_, gain_, x, y, z, out);
}

}  // namespace noisepp
