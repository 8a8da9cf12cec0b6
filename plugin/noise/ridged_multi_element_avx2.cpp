// RidgedMultiElement3D::value on eight lanes: the corners' hashes in 32-bit lanes, their gradient
// rows loaded whole and transposed, and the arithmetic of gradient_noise3_std in the same order on
// every lane.
#include "plugin/noise/ridged_multi_element.h"

#include "plugin/noise/gradient_table.h"
#include "plugin/noise/interpolation.h"
#include "plugin/noise/octave_steps.h"
#include "plugin/platform/simd/lanes_avx2.h"
#include "plugin/platform/simd/simd_path.h"

#include <array>
#include <cstddef>
#include <span>

namespace noisepp {
namespace {

static_assert(sizeof(GradientRow) == 4 * sizeof(float));

// lattice_axis of eight safe values: the lower corner is int(v), one less where v is not above 0.
struct Axis8 {
    __m256i i0;
    __m256i i1;
    __m256 d0;
    __m256 d1;
};

KYROX_AVX2_TARGET Axis8 axis8(__m256 v)
{
    const __m256i truncated = _mm256_cvttps_epi32(v);
    const __m256i c0 =
        _mm256_add_epi32(truncated, _mm256_castps_si256(_mm256_cmp_ps(v, _mm256_setzero_ps(), _CMP_NGT_UQ)));
    const __m256i c1 = _mm256_add_epi32(c0, _mm256_set1_epi32(1));
    return {c0, c1, _mm256_sub_ps(v, _mm256_cvtepi32_ps(c0)), _mm256_sub_ps(v, _mm256_cvtepi32_ps(c1))};
}

// The hash terms of one axis at its two corners.
struct Terms8 {
    __m256i t0;
    __m256i t1;
};

KYROX_AVX2_TARGET Terms8 terms8(const Axis8& axis, int factor, __m256i added)
{
    const __m256i f = _mm256_set1_epi32(factor);
    return {_mm256_add_epi32(_mm256_mullo_epi32(axis.i0, f), added),
            _mm256_add_epi32(_mm256_mullo_epi32(axis.i1, f), added)};
}

// The gradient rows of eight hashes as x, y and z across the lanes: the rows are loaded whole and
// transposed, as on this work scalar loads outpace gathers.
struct Gradients8 {
    __m256 x;
    __m256 y;
    __m256 z;
};

KYROX_AVX2_TARGET __m128 row4(int index)
{
    return _mm_loadu_ps(&gradient_table[static_cast<std::size_t>(index)].x);
}

KYROX_AVX2_TARGET __m256 rows8(const std::array<int, 8>& index, std::size_t l)
{
    return _mm256_insertf128_ps(_mm256_castps128_ps256(row4(index[l])), row4(index[l + 4]), 1);
}

KYROX_AVX2_TARGET Gradients8 gradients8(__m256i hash)
{
    alignas(32) std::array<int, 8> index{};
    _mm256_store_si256(reinterpret_cast<__m256i*>(index.data()), _mm256_and_si256(hash, _mm256_set1_epi32(0xff)));
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

// corner_value from the sum of a corner's hash terms (which wraps modulo 2^32 in any order).
KYROX_AVX2_TARGET __m256 corner8(__m256i hash, __m256 dx, __m256 dy, __m256 dz)
{
    const Gradients8 g = gradients8(_mm256_xor_si256(hash, _mm256_srai_epi32(hash, 8)));
    const __m256 dot =
        _mm256_add_ps(_mm256_add_ps(_mm256_mul_ps(g.x, dx), _mm256_mul_ps(g.y, dy)), _mm256_mul_ps(g.z, dz));
    return _mm256_mul_ps(dot, _mm256_set1_ps(2.12f));
}

// The blends along x, then y, of the four corners at one z corner, whose hash term is iz.
KYROX_AVX2_TARGET __m256 face8(const Axis8& x, const Axis8& y, const Terms8& hx, const Terms8& hy, __m256i iz,
                               __m256 dz, __m256 sx, __m256 sy)
{
    const __m256i y0 = _mm256_add_epi32(hy.t0, iz);
    const __m256i y1 = _mm256_add_epi32(hy.t1, iz);
    const __m256 near_y = blend<kyrox::simd::F32x8>(corner8(_mm256_add_epi32(hx.t0, y0), x.d0, y.d0, dz),
                                                    corner8(_mm256_add_epi32(hx.t1, y0), x.d1, y.d0, dz), sx);
    const __m256 far_y = blend<kyrox::simd::F32x8>(corner8(_mm256_add_epi32(hx.t0, y1), x.d0, y.d1, dz),
                                                   corner8(_mm256_add_epi32(hx.t1, y1), x.d1, y.d1, dz), sx);
    return blend<kyrox::simd::F32x8>(near_y, far_y, sy);
}

// gradient_noise3_std of eight safe points.
KYROX_AVX2_TARGET __m256 gradient_noise3_std8(__m256 px, __m256 py, __m256 pz, int seed)
{
    const Axis8 x = axis8(px);
    const Axis8 y = axis8(py);
    const Axis8 z = axis8(pz);
    const auto s = static_cast<int>(1013u * static_cast<unsigned>(seed));
    const Terms8 hx = terms8(x, 1619, _mm256_setzero_si256());
    const Terms8 hy = terms8(y, 31337, _mm256_setzero_si256());
    const Terms8 hz = terms8(z, 6971, _mm256_set1_epi32(s));
    const __m256 sx = interp_cubic<kyrox::simd::F32x8>(x.d0);
    const __m256 sy = interp_cubic<kyrox::simd::F32x8>(y.d0);
    return blend<kyrox::simd::F32x8>(face8(x, y, hx, hy, hz.t0, z.d0, sx, sy), face8(x, y, hx, hy, hz.t1, z.d1, sx, sy),
                                     interp_cubic<kyrox::simd::F32x8>(z.d0));
}

KYROX_AVX2_TARGET bool ridged_sum8(std::span<const RidgedOctave> octaves, float offset, float gain,
                                   const std::array<float, 8>& x, const std::array<float, 8>& y,
                                   const std::array<float, 8>& z, std::array<float, 8>& out)
{
    const __m256 px = _mm256_loadu_ps(x.data());
    const __m256 py = _mm256_loadu_ps(y.data());
    const __m256 pz = _mm256_loadu_ps(z.data());
    kyrox::simd::F32x8 weight = 1.0f;
    kyrox::simd::F32x8 sum = 0.0f;
    for (const RidgedOctave& octave : octaves) {
        const __m256 f = _mm256_set1_ps(octave.frequency);
        const __m256 sx = _mm256_mul_ps(px, f);
        const __m256 sy = _mm256_mul_ps(py, f);
        const __m256 sz = _mm256_mul_ps(pz, f);
        // Within +-2^30 ridged_wrap leaves a coordinate as it is.
        if (!kyrox::simd::safe_positions(sx) || !kyrox::simd::safe_positions(sy) || !kyrox::simd::safe_positions(sz)) {
            return false;
        }
        ridged_octave<kyrox::simd::F32x8>(gradient_noise3_std8(sx, sy, sz, octave.seed), offset, gain,
                                          octave.spectral_weight, weight, sum);
    }
    _mm256_storeu_ps(out.data(), _mm256_sub_ps(_mm256_mul_ps(sum, _mm256_set1_ps(1.25f)), _mm256_set1_ps(1.0f)));
    return true;
}

}  // namespace

bool RidgedMultiElement3D::value8(const std::array<float, 8>& x, const std::array<float, 8>& y,
                                  const std::array<float, 8>& z, std::array<float, 8>& out) const
{
    if (quality_ != 1) {
        return false;
    }
    return ridged_sum8(octaves_, offset_, gain_, x, y, z, out);
}

}  // namespace noisepp
