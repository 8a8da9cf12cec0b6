#include "plugin/noise/ridged_multi_element.h"

#include "plugin/noise/gradient_noise3.h"
#include "plugin/noise/gradient_table.h"
#include "plugin/noise/interpolation.h"
#include "plugin/noise/octave_steps.h"
#include "plugin/platform/simd/lanes.h"
#include "plugin/noise/octave_limit.h"

#include <algorithm>
#include <cmath>

namespace noisepp {

float ridged_wrap(float v)
{
    constexpr float limit = 1073741824.0f;
    if (v >= limit) {
        return 2.0f * std::fmod(v, limit) - limit;
    }
    if (v <= -limit) {
        return 2.0f * std::fmod(v, limit) + limit;
    }
    return v;
}

RidgedMultiElement3D::RidgedMultiElement3D(int octave_count, float frequency, float lacunarity, float exponent,
                                           float offset, float gain, int seed, int quality)
    : quality_(quality), offset_(offset), gain_(gain)
{
    const int count = std::clamp(octave_count, 0, kyrox::max_noise_octaves);
    octaves_.reserve(static_cast<std::size_t>(count));
    float f = frequency;
    for (int i = 0; i < count; ++i) {
        // Unsigned, so seed 0x7fffffff + 1 wraps to 0 instead of overflowing.
        const std::uint32_t octave_seed = (static_cast<std::uint32_t>(seed) + static_cast<std::uint32_t>(i)) &
                                          0x7fffffffu;
        octaves_.push_back({static_cast<std::int32_t>(octave_seed), f, std::pow(f, -exponent)});
        f *= lacunarity;
    }
}

template <float (*Noise)(float, float, float, int)>
float RidgedMultiElement3D::ridged_sum(float x, float y, float z) const
{
    float weight = 1.0f;
    float sum = 0.0f;
    for (const RidgedOctave& octave : octaves_) {
        const float n = Noise(ridged_wrap(x * octave.frequency), ridged_wrap(y * octave.frequency),
                              ridged_wrap(z * octave.frequency), octave.seed);
        ridged_octave(n, offset_, gain_, octave.spectral_weight, weight, sum);
    }
    return sum * 1.25f - 1.0f;
}

float RidgedMultiElement3D::value(float x, float y, float z, PipelineCacheRecord* /*cache*/) const
{
    switch (quality_) {
    case 1:
        return ridged_sum<gradient_noise3_std>(x, y, z);
    case 2:
        return ridged_sum<gradient_noise3_best>(x, y, z);
    default:
        return ridged_sum<gradient_noise3_fast>(x, y, z);
    }
}

namespace {

using Corners = std::array<std::uint32_t, 4>;

// lattice_axis of four safe values: the lower corner is int(v), one less where v is not above 0.
struct Axis4 {
    Corners i0;
    Corners i1;
    __m128 d0;
    __m128 d1;
};

Axis4 axis4(__m128 v)
{
    const __m128i truncated = _mm_cvttps_epi32(v);
    const __m128i c0 = _mm_add_epi32(truncated, _mm_castps_si128(_mm_cmpngt_ps(v, _mm_setzero_ps())));
    const __m128i c1 = _mm_add_epi32(c0, _mm_set1_epi32(1));
    Axis4 a;
    alignas(16) std::array<std::uint32_t, 4> low{};
    _mm_store_si128(reinterpret_cast<__m128i*>(low.data()), c0);
    a.i0 = low;
    for (std::size_t l = 0; l < 4; ++l) {
        a.i1[l] = low[l] + 1u;
    }
    a.d0 = _mm_sub_ps(v, _mm_cvtepi32_ps(c0));
    a.d1 = _mm_sub_ps(v, _mm_cvtepi32_ps(c1));
    return a;
}

// gradient_noise3_std of four safe points: the corners' hashes and gradient rows lane by lane,
// then corner_value and the blends of gradient_noise3 on all four lanes. Corner k lies at
// x index bit 0, y index bit 1, z index bit 2 of k.
__m128 gradient_noise3_std4(__m128 px, __m128 py, __m128 pz, int seed)
{
    const Axis4 x = axis4(px);
    const Axis4 y = axis4(py);
    const Axis4 z = axis4(pz);
    const std::uint32_t s = 1013u * static_cast<std::uint32_t>(seed);
    alignas(16) std::array<std::array<float, 4>, 8> gx{};
    alignas(16) std::array<std::array<float, 4>, 8> gy{};
    alignas(16) std::array<std::array<float, 4>, 8> gz{};
    for (std::size_t l = 0; l < 4; ++l) {
        // The hash's terms; their sum wraps modulo 2^32 in any order.
        const std::array<std::uint32_t, 2> hx{1619u * x.i0[l], 1619u * x.i1[l]};
        const std::array<std::uint32_t, 2> hy{31337u * y.i0[l], 31337u * y.i1[l]};
        const std::array<std::uint32_t, 2> hz{6971u * z.i0[l] + s, 6971u * z.i1[l] + s};
        for (std::size_t k = 0; k < 8; ++k) {
            std::uint32_t h = hx[k & 1] + hy[(k >> 1) & 1] + hz[k >> 2];
            h ^= static_cast<std::uint32_t>(static_cast<std::int32_t>(h) >> 8);
            const GradientRow& g = gradient_table[h & 0xffu];
            gx[k][l] = g.x;
            gy[k][l] = g.y;
            gz[k][l] = g.z;
        }
    }
    const __m128 dx[2] = {x.d0, x.d1};
    const __m128 dy[2] = {y.d0, y.d1};
    const __m128 dz[2] = {z.d0, z.d1};
    const auto corner = [&](std::size_t k) {
        const __m128 dot = _mm_add_ps(_mm_add_ps(_mm_mul_ps(_mm_load_ps(gx[k].data()), dx[k & 1]),
                                                 _mm_mul_ps(_mm_load_ps(gy[k].data()), dy[(k >> 1) & 1])),
                                      _mm_mul_ps(_mm_load_ps(gz[k].data()), dz[k >> 2]));
        return _mm_mul_ps(dot, _mm_set1_ps(2.12f));
    };
    const __m128 sx = noisepp::interp_cubic<kyrox::simd::F32x4>(x.d0);
    const __m128 sy = noisepp::interp_cubic<kyrox::simd::F32x4>(y.d0);
    const __m128 sz = noisepp::interp_cubic<kyrox::simd::F32x4>(z.d0);
    const auto blend4 = [](kyrox::simd::F32x4 a, kyrox::simd::F32x4 b, kyrox::simd::F32x4 weight) {
        return blend(a, b, weight);
    };
    const auto edge_x = [&](std::size_t k) { return blend4(corner(k), corner(k + 1), sx); };
    const auto face_xy = [&](std::size_t k) { return blend4(edge_x(k), edge_x(k + 2), sy); };
    return blend4(face_xy(0), face_xy(4), sz);
}

}  // namespace

bool RidgedMultiElement3D::value4(const std::array<float, 4>& x, const std::array<float, 4>& y,
                                  const std::array<float, 4>& z, std::array<float, 4>& out) const
{
    if (quality_ != 1) {
        return false;
    }
    const __m128 px = _mm_loadu_ps(x.data());
    const __m128 py = _mm_loadu_ps(y.data());
    const __m128 pz = _mm_loadu_ps(z.data());
    kyrox::simd::F32x4 weight = 1.0f;
    kyrox::simd::F32x4 sum = 0.0f;
    for (const RidgedOctave& octave : octaves_) {
        const __m128 f = _mm_set1_ps(octave.frequency);
        const __m128 sx = _mm_mul_ps(px, f);
        const __m128 sy = _mm_mul_ps(py, f);
        const __m128 sz = _mm_mul_ps(pz, f);
        // Within +-2^30 ridged_wrap leaves a coordinate as it is.
        if (!kyrox::simd::safe_positions(sx) || !kyrox::simd::safe_positions(sy) || !kyrox::simd::safe_positions(sz)) {
            return false;
        }
        ridged_octave<kyrox::simd::F32x4>(gradient_noise3_std4(sx, sy, sz, octave.seed), offset_, gain_,
                                          octave.spectral_weight, weight, sum);
    }
    _mm_storeu_ps(out.data(), _mm_sub_ps(_mm_mul_ps(sum, _mm_set1_ps(1.25f)), _mm_set1_ps(1.0f)));
    return true;
}

}  // namespace noisepp
