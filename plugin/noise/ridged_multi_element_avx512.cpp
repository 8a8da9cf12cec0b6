// RidgedMultiElement3D::value on sixteen lanes: the corners' hashes in 32-bit lanes, their gradient
// rows gathered, and the arithmetic of gradient_noise3_std in the same order on every lane. The
// eight-lane form (ridged_multi_element_avx2.cpp) is the same work on half the lanes.
#include "plugin/noise/ridged_multi_element.h"

#include "plugin/noise/gradient_table.h"
#include "plugin/noise/interpolation.h"
#include "plugin/noise/octave_steps.h"
#include "plugin/platform/simd/lanes_avx512.h"
#include "plugin/platform/simd/simd_path.h"

#include <array>
#include <span>

namespace noisepp {
namespace {

using kyrox::simd::F32x16;

static_assert(sizeof(GradientRow) == 4 * sizeof(float));

// lattice_axis of sixteen safe values: the lower corner is int(v), one less where v is not above 0.
struct Axis16 {
    __m512i i0;
    F32x16 d0;
    F32x16 d1;
};

KYROX_AVX512_TARGET Axis16 axis16(F32x16 v)
{
    const __m512i one = _mm512_set1_epi32(1);
    const __m512i truncated = _mm512_cvttps_epi32(v);
    const __mmask16 not_above = _mm512_cmp_ps_mask(v, _mm512_setzero_ps(), _CMP_NGT_UQ);
    const __m512i c0 = _mm512_mask_sub_epi32(truncated, not_above, truncated, one);
    const __m512i c1 = _mm512_add_epi32(c0, one);
    return {c0, v - F32x16(_mm512_cvtepi32_ps(c0)), v - F32x16(_mm512_cvtepi32_ps(c1))};
}

// The hash terms of one axis at its two corners. The upper corner is one more, so its term is one
// factor more (modulo 2^32, as the hash wraps): an add where a multiply would cost ten cycles.
struct Terms16 {
    __m512i t0;
    __m512i t1;
};

KYROX_AVX512_TARGET Terms16 terms16(const Axis16& axis, int factor, __m512i added)
{
    const __m512i f = _mm512_set1_epi32(factor);
    const __m512i t0 = _mm512_add_epi32(_mm512_mullo_epi32(axis.i0, f), added);
    return {t0, _mm512_add_epi32(t0, f)};
}

struct Gradients16 {
    F32x16 x;
    F32x16 y;
    F32x16 z;
};

// The gradient rows of sixteen hashes as x, y and z across the lanes: x and y as one 64-bit pair per
// lane in two gathers of eight, split into even and odd floats, and z in a gather of sixteen. That
// measured ahead of three gathers of sixteen, of four of eight (adding z and w as pairs), and of the
// eight-lane form's row loads and transpose, which spend a shuffle on every row here.
KYROX_AVX512_TARGET Gradients16 gradients16(__m512i hash)
{
    const __m512i index = _mm512_and_si512(hash, _mm512_set1_epi32(0xff));
    const float* table = &gradient_table[0].x;
    const __m512i pair = _mm512_slli_epi32(index, 1);
    const __m512 low = _mm512_castpd_ps(_mm512_i32gather_pd(_mm512_castsi512_si256(pair), table, 8));
    const __m512 high = _mm512_castpd_ps(_mm512_i32gather_pd(_mm512_extracti32x8_epi32(pair, 1), table, 8));
    const __m512i even = _mm512_setr_epi32(0, 2, 4, 6, 8, 10, 12, 14, 16, 18, 20, 22, 24, 26, 28, 30);
    const __m512i odd = _mm512_add_epi32(even, _mm512_set1_epi32(1));
    return {_mm512_permutex2var_ps(low, even, high), _mm512_permutex2var_ps(low, odd, high),
            _mm512_i32gather_ps(_mm512_slli_epi32(index, 2), table + 2, 4)};
}

// corner_value from the sum of a corner's hash terms (which wraps modulo 2^32 in any order).
KYROX_AVX512_TARGET F32x16 corner16(__m512i hash, F32x16 dx, F32x16 dy, F32x16 dz)
{
    const Gradients16 g = gradients16(_mm512_xor_si512(hash, _mm512_srai_epi32(hash, 8)));
    return (g.x * dx + g.y * dy + g.z * dz) * 2.12f;
}

// The blends along x, then y, of the four corners at one z corner, whose hash term is iz.
// Inlined, so that the corners of both faces overlap: as a call it measured 7% slower.
KYROX_AVX512_TARGET inline __attribute__((always_inline)) F32x16 face16(const Axis16& x, const Axis16& y,
                                                                        const Terms16& hx, const Terms16& hy,
                                                                        __m512i iz, F32x16 dz, F32x16 sx, F32x16 sy)
{
    const __m512i y0 = _mm512_add_epi32(hy.t0, iz);
    const __m512i y1 = _mm512_add_epi32(hy.t1, iz);
    const F32x16 near_y = blend<F32x16>(corner16(_mm512_add_epi32(hx.t0, y0), x.d0, y.d0, dz),
                                        corner16(_mm512_add_epi32(hx.t1, y0), x.d1, y.d0, dz), sx);
    const F32x16 far_y = blend<F32x16>(corner16(_mm512_add_epi32(hx.t0, y1), x.d0, y.d1, dz),
                                       corner16(_mm512_add_epi32(hx.t1, y1), x.d1, y.d1, dz), sx);
    return blend<F32x16>(near_y, far_y, sy);
}

// gradient_noise3_std of sixteen safe points.
KYROX_AVX512_TARGET F32x16 gradient_noise3_std16(F32x16 px, F32x16 py, F32x16 pz, int seed)
{
    const Axis16 x = axis16(px);
    const Axis16 y = axis16(py);
    const Axis16 z = axis16(pz);
    const auto s = static_cast<int>(1013u * static_cast<unsigned>(seed));
    const Terms16 hx = terms16(x, 1619, _mm512_setzero_si512());
    const Terms16 hy = terms16(y, 31337, _mm512_setzero_si512());
    const Terms16 hz = terms16(z, 6971, _mm512_set1_epi32(s));
    const F32x16 sx = interp_cubic<F32x16>(x.d0);
    const F32x16 sy = interp_cubic<F32x16>(y.d0);
    return blend<F32x16>(face16(x, y, hx, hy, hz.t0, z.d0, sx, sy), face16(x, y, hx, hy, hz.t1, z.d1, sx, sy),
                         interp_cubic<F32x16>(z.d0));
}

KYROX_AVX512_TARGET bool ridged_sum16(std::span<const RidgedOctave> octaves, float offset, float gain,
                                      const std::array<float, 16>& x, const std::array<float, 16>& y,
                                      const std::array<float, 16>& z, std::array<float, 16>& out)
{
    const F32x16 px = _mm512_loadu_ps(x.data());
    const F32x16 py = _mm512_loadu_ps(y.data());
    const F32x16 pz = _mm512_loadu_ps(z.data());
    F32x16 weight = 1.0f;
    F32x16 sum = 0.0f;
    for (const RidgedOctave& octave : octaves) {
        const F32x16 sx = px * octave.frequency;
        const F32x16 sy = py * octave.frequency;
        const F32x16 sz = pz * octave.frequency;
        // Within +-2^30 ridged_wrap leaves a coordinate as it is.
        if (!kyrox::simd::safe_positions(sx) || !kyrox::simd::safe_positions(sy) || !kyrox::simd::safe_positions(sz)) {
            return false;
        }
        ridged_octave<F32x16>(gradient_noise3_std16(sx, sy, sz, octave.seed), offset, gain, octave.spectral_weight,
                              weight, sum);
    }
    _mm512_storeu_ps(out.data(), sum * 1.25f - 1.0f);
    return true;
}

}  // namespace

bool RidgedMultiElement3D::value16(const std::array<float, 16>& x, const std::array<float, 16>& y,
                                   const std::array<float, 16>& z, std::array<float, 16>& out) const
{
    if (quality_ != 1) {
        return false;
    }
    return ridged_sum16(octaves_, offset_, gain_, x, y, z, out);
}

}  // namespace noisepp
