#include "plugin/noise/improved_noise.h"

#include "plugin/noise/improved_gradients.h"
#include "plugin/noise/interpolation.h"
#include "plugin/noise/octave_steps.h"
#include "plugin/noise/noise_floor.h"
#include "plugin/platform/simd/lanes.h"
#include "plugin/noise/octave_limit.h"
#include "plugin/noise/permutation_table.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>

namespace kyrox {
namespace {

float grad(int hash, float x, float y, float z)
{
    const GradVector& g = grad_vectors[static_cast<std::size_t>(hash & 15)];
    return g.x * x + g.y * y + g.z * z;
}

}  // namespace

float gradient_noise2(const NoisePoint& point)
{
    const float fx = noise_floor(point.x);
    const float fy = noise_floor(point.y);
    const float fz = noise_floor(point.z);
    const int cx = noise_cell_index(fx);
    const int cy = noise_cell_index(fy);
    const int cz = noise_cell_index(fz);
    const float x = point.x - fx;
    const float y = point.y - fy;
    const float z = point.z - fz;
    const float u = noisepp::interp_quintic(x);
    const float v = noisepp::interp_quintic(y);
    const float w = noisepp::interp_quintic(z);
    using noisepp::lerp;

    const std::array<int, 8> h = corner_hashes(cx, cy, cz);
    return lerp(w,
                lerp(v, lerp(u, grad(h[0], x, y, z), grad(h[1], x - 1, y, z)),
                     lerp(u, grad(h[2], x, y - 1, z), grad(h[3], x - 1, y - 1, z))),
                lerp(v, lerp(u, grad(h[4], x, y, z - 1), grad(h[5], x - 1, y, z - 1)),
                     lerp(u, grad(h[6], x, y - 1, z - 1), grad(h[7], x - 1, y - 1, z - 1))));
}

float fractal_noise2(const NoisePoint& point, int octaves)
{
    if (octaves <= 0) {
        return 1.0f;
    }
    const int count = std::min(octaves, max_noise_octaves);
    NoisePoint p = point;
    float sum = 0.0f;
    float amplitude = 1.0f;
    for (int i = 0; i < count; ++i) {
        const float n = gradient_noise2(p);
        p.x *= 2.0f;
        p.y *= 2.0f;
        noisepp::fractal_octave(n, amplitude, sum);
        amplitude *= 0.5f;
    }
    return sum + 1.0f;
}

namespace {

using Hashes = std::array<int, 4>;

__m128 grad4(const Hashes& hash, __m128 x, __m128 y, __m128 z)
{
    const auto g = [&](std::size_t lane) -> const GradVector& {
        return grad_vectors[static_cast<std::size_t>(hash[lane] & 15)];
    };
    const __m128 gx = _mm_setr_ps(g(0).x, g(1).x, g(2).x, g(3).x);
    const __m128 gy = _mm_setr_ps(g(0).y, g(1).y, g(2).y, g(3).y);
    const __m128 gz = _mm_setr_ps(g(0).z, g(1).z, g(2).z, g(3).z);
    return _mm_add_ps(_mm_add_ps(_mm_mul_ps(gx, x), _mm_mul_ps(gy, y)), _mm_mul_ps(gz, z));
}

// The permutation cells of four safe floored values.
Hashes cells4(__m128 floored)
{
    alignas(16) std::array<int, 4> cells{};
    _mm_store_si128(reinterpret_cast<__m128i*>(cells.data()),
                    _mm_and_si128(_mm_cvttps_epi32(floored), _mm_set1_epi32(0xff)));
    return cells;
}

// gradient_noise2 of four safe points.
__m128 gradient_noise4(__m128 px, __m128 py, __m128 pz)
{
    const __m128 fx = simd::floor_lanes<simd::F32x4>(px);
    const __m128 fy = simd::floor_lanes<simd::F32x4>(py);
    const __m128 fz = simd::floor_lanes<simd::F32x4>(pz);
    const Hashes cx = cells4(fx);
    const Hashes cy = cells4(fy);
    const Hashes cz = cells4(fz);
    const __m128 x = _mm_sub_ps(px, fx);
    const __m128 y = _mm_sub_ps(py, fy);
    const __m128 z = _mm_sub_ps(pz, fz);
    const __m128 u = noisepp::interp_quintic<simd::F32x4>(x);
    const __m128 v = noisepp::interp_quintic<simd::F32x4>(y);
    const __m128 w = noisepp::interp_quintic<simd::F32x4>(z);
    Hashes aa{}, ab{}, ba{}, bb{}, aa1{}, ab1{}, ba1{}, bb1{};
    for (std::size_t l = 0; l < 4; ++l) {
        const std::array<int, 8> h = corner_hashes(cx[l], cy[l], cz[l]);
        aa[l] = h[0];
        ba[l] = h[1];
        ab[l] = h[2];
        bb[l] = h[3];
        aa1[l] = h[4];
        ba1[l] = h[5];
        ab1[l] = h[6];
        bb1[l] = h[7];
    }
    const __m128 one = _mm_set1_ps(1.0f);
    const __m128 x1 = _mm_sub_ps(x, one);
    const __m128 y1 = _mm_sub_ps(y, one);
    const __m128 z1 = _mm_sub_ps(z, one);
    const auto lerp = [](simd::F32x4 t, simd::F32x4 a, simd::F32x4 b) { return noisepp::lerp(t, a, b); };
    return lerp(
        w,
        lerp(v, lerp(u, grad4(aa, x, y, z), grad4(ba, x1, y, z)), lerp(u, grad4(ab, x, y1, z), grad4(bb, x1, y1, z))),
        lerp(v, lerp(u, grad4(aa1, x, y, z1), grad4(ba1, x1, y, z1)),
             lerp(u, grad4(ab1, x, y1, z1), grad4(bb1, x1, y1, z1))));
}

}  // namespace

bool fractal_noise2_x4(const std::array<NoisePoint, 4>& points, int octaves, std::array<float, 4>& out)
{
    if (octaves <= 0) {
        out.fill(1.0f);
        return true;
    }
    const int count = std::min(octaves, max_noise_octaves);
    __m128 px = _mm_setr_ps(points[0].x, points[1].x, points[2].x, points[3].x);
    __m128 py = _mm_setr_ps(points[0].y, points[1].y, points[2].y, points[3].y);
    const __m128 pz = _mm_setr_ps(points[0].z, points[1].z, points[2].z, points[3].z);
    simd::F32x4 sum = 0.0f;
    float amplitude = 1.0f;
    for (int i = 0; i < count; ++i) {
        if (!simd::safe_positions(px) || !simd::safe_positions(py) || !simd::safe_positions(pz)) {
            return false;
        }
        const __m128 n = gradient_noise4(px, py, pz);
        px = _mm_mul_ps(px, _mm_set1_ps(2.0f));
        py = _mm_mul_ps(py, _mm_set1_ps(2.0f));
        noisepp::fractal_octave<simd::F32x4>(n, amplitude, sum);
        amplitude *= 0.5f;
    }
    _mm_storeu_ps(out.data(), _mm_add_ps(sum, _mm_set1_ps(1.0f)));
    return true;
}

}  // namespace kyrox
