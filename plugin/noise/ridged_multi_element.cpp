#include "plugin/noise/ridged_multi_element.h"

#include "plugin/noise/gradient_noise3.h"
#include "plugin/noise/gradient_table.h"
#include "plugin/noise/noise_floor4.h"
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
        const std::uint32_t octave_seed = (static_cast<std::uint32_t>(seed) + static_cast<std::uint32_t>(i)) & 0x7fffffffu;
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
        const float ridge = offset_ - std::fabs(n);
        const float signal = ridge * ridge * weight;
        sum += signal * octave.spectral_weight;
        weight = std::clamp(gain_ * signal, -1.0f, 1.0f);
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

#ifdef KYROX_SSE2

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

__m128 cubic4(__m128 t)
{
    return _mm_mul_ps(_mm_mul_ps(t, t), _mm_sub_ps(_mm_set1_ps(3.0f), _mm_mul_ps(_mm_set1_ps(2.0f), t)));
}

__m128 blend4(__m128 a, __m128 b, __m128 s)
{
    return _mm_add_ps(_mm_mul_ps(_mm_sub_ps(_mm_set1_ps(1.0f), s), a), _mm_mul_ps(s, b));
}

// corner_value of gradient_noise3 on four lanes: the hash per lane, the gradient product on all.
__m128 corner4(const Corners& ix, const Corners& iy, const Corners& iz, std::uint32_t seed_term, __m128 dx,
               __m128 dy, __m128 dz)
{
    std::array<const GradientRow*, 4> g{};
    for (std::size_t l = 0; l < 4; ++l) {
        std::uint32_t h = 1619u * ix[l] + 31337u * iy[l] + 6971u * iz[l] + seed_term;
        h ^= static_cast<std::uint32_t>(static_cast<std::int32_t>(h) >> 8);
        g[l] = &gradient_table[h & 0xffu];
    }
    const __m128 gx = _mm_setr_ps(g[0]->x, g[1]->x, g[2]->x, g[3]->x);
    const __m128 gy = _mm_setr_ps(g[0]->y, g[1]->y, g[2]->y, g[3]->y);
    const __m128 gz = _mm_setr_ps(g[0]->z, g[1]->z, g[2]->z, g[3]->z);
    const __m128 dot = _mm_add_ps(_mm_add_ps(_mm_mul_ps(gx, dx), _mm_mul_ps(gy, dy)), _mm_mul_ps(gz, dz));
    return _mm_mul_ps(dot, _mm_set1_ps(2.12f));
}

// gradient_noise3_std of four safe points.
__m128 gradient_noise3_std4(__m128 px, __m128 py, __m128 pz, int seed)
{
    const Axis4 x = axis4(px);
    const Axis4 y = axis4(py);
    const Axis4 z = axis4(pz);
    const __m128 sx = cubic4(x.d0);
    const __m128 sy = cubic4(y.d0);
    const __m128 sz = cubic4(z.d0);
    const std::uint32_t s = 1013u * static_cast<std::uint32_t>(seed);
    const auto edge_x = [&](const Corners& iy, const Corners& iz, __m128 dy, __m128 dz) {
        return blend4(corner4(x.i0, iy, iz, s, x.d0, dy, dz), corner4(x.i1, iy, iz, s, x.d1, dy, dz), sx);
    };
    const auto face_xy = [&](const Corners& iz, __m128 dz) {
        return blend4(edge_x(y.i0, iz, y.d0, dz), edge_x(y.i1, iz, y.d1, dz), sy);
    };
    return blend4(face_xy(z.i0, z.d0), face_xy(z.i1, z.d1), sz);
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
    const __m128 magnitude = _mm_castsi128_ps(_mm_set1_epi32(0x7fffffff));
    __m128 weight = _mm_set1_ps(1.0f);
    __m128 sum = _mm_setzero_ps();
    for (const RidgedOctave& octave : octaves_) {
        const __m128 f = _mm_set1_ps(octave.frequency);
        const __m128 sx = _mm_mul_ps(px, f);
        const __m128 sy = _mm_mul_ps(py, f);
        const __m128 sz = _mm_mul_ps(pz, f);
        // Within +-2^30 ridged_wrap leaves a coordinate as it is.
        if (!kyrox::simd::safe_positions(sx) || !kyrox::simd::safe_positions(sy) ||
            !kyrox::simd::safe_positions(sz)) {
            return false;
        }
        const __m128 n = gradient_noise3_std4(sx, sy, sz, octave.seed);
        const __m128 ridge = _mm_sub_ps(_mm_set1_ps(offset_), _mm_and_ps(n, magnitude));
        const __m128 signal = _mm_mul_ps(_mm_mul_ps(ridge, ridge), weight);
        sum = _mm_add_ps(sum, _mm_mul_ps(signal, _mm_set1_ps(octave.spectral_weight)));
        // std::clamp to [-1, 1]; NaN stays NaN as there.
        const __m128 w = _mm_mul_ps(_mm_set1_ps(gain_), signal);
        const __m128 low = kyrox::simd::select(_mm_cmplt_ps(w, _mm_set1_ps(-1.0f)), _mm_set1_ps(-1.0f), w);
        weight = kyrox::simd::select(_mm_cmplt_ps(_mm_set1_ps(1.0f), low), _mm_set1_ps(1.0f), low);
    }
    _mm_storeu_ps(out.data(), _mm_sub_ps(_mm_mul_ps(sum, _mm_set1_ps(1.25f)), _mm_set1_ps(1.0f)));
    return true;
}

#else

bool RidgedMultiElement3D::value4(const std::array<float, 4>&, const std::array<float, 4>&,
                                  const std::array<float, 4>&, std::array<float, 4>&) const
{
    return false;
}

#endif

}  // namespace noisepp
