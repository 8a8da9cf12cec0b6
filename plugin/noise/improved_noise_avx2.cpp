// fractal_noise2 on eight lanes: the permutation chains lane by lane, the gradients as register
// permutes, and the arithmetic of the one-point noise in the same order on every lane.
#include "plugin/noise/improved_noise.h"

#include "plugin/noise/improved_gradients.h"
#include "plugin/noise/interpolation.h"
#include "plugin/noise/octave_steps.h"
#include "plugin/platform/simd/lanes_avx2.h"
#include "plugin/noise/octave_limit.h"
#include "plugin/noise/permutation_table.h"
#include "plugin/platform/simd/simd_path.h"

#include <algorithm>
#include <array>
#include <cstddef>

namespace kyrox {
namespace {

KYROX_AVX2_TARGET __m256 lookup16(const std::array<float, 16>& table, __m256i hash)
{
    const __m256 low = _mm256_permutevar8x32_ps(_mm256_loadu_ps(table.data()), hash);
    const __m256 high = _mm256_permutevar8x32_ps(_mm256_loadu_ps(table.data() + 8), hash);
    // Bit 3 of the hash, moved to the sign bit, picks the upper eight.
    return _mm256_blendv_ps(low, high, _mm256_castsi256_ps(_mm256_slli_epi32(hash, 28)));
}

KYROX_AVX2_TARGET __m256 grad8(__m256i hash, __m256 x, __m256 y, __m256 z)
{
    const __m256 gx = lookup16(grad_component<&GradVector::x>, hash);
    const __m256 gy = lookup16(grad_component<&GradVector::y>, hash);
    const __m256 gz = lookup16(grad_component<&GradVector::z>, hash);
    return _mm256_add_ps(_mm256_add_ps(_mm256_mul_ps(gx, x), _mm256_mul_ps(gy, y)), _mm256_mul_ps(gz, z));
}

KYROX_AVX2_TARGET __m256i load8(const std::array<int, 8>& v)
{
    return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(v.data()));
}

// The permutation cells of eight safe floored values.
KYROX_AVX2_TARGET void store_cells8(__m256 floored, std::array<int, 8>& cells)
{
    const __m256i cell = _mm256_and_si256(_mm256_cvttps_epi32(floored), _mm256_set1_epi32(0xff));
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(cells.data()), cell);
}

// gradient_noise2 of eight safe points. The permutation chains run lane by lane: on this work
// scalar loads outpace gathers.
KYROX_AVX2_TARGET __m256 gradient_noise8(__m256 px, __m256 py, __m256 pz)
{
    const __m256 fx = simd::floor_lanes<simd::F32x8>(px);
    const __m256 fy = simd::floor_lanes<simd::F32x8>(py);
    const __m256 fz = simd::floor_lanes<simd::F32x8>(pz);
    alignas(32) std::array<std::array<int, 8>, 3> cells{};
    store_cells8(fx, cells[0]);
    store_cells8(fy, cells[1]);
    store_cells8(fz, cells[2]);
    // hashes[k][l]: corner k of lane l.
    alignas(32) std::array<std::array<int, 8>, 8> hashes{};
    for (std::size_t l = 0; l < 8; ++l) {
        const std::array<int, 8> h = corner_hashes(cells[0][l], cells[1][l], cells[2][l]);
        for (std::size_t k = 0; k < 8; ++k) {
            hashes[k][l] = h[k];
        }
    }
    const __m256 x = _mm256_sub_ps(px, fx);
    const __m256 y = _mm256_sub_ps(py, fy);
    const __m256 z = _mm256_sub_ps(pz, fz);
    const __m256 u = noisepp::interp_quintic<simd::F32x8>(x);
    const __m256 v = noisepp::interp_quintic<simd::F32x8>(y);
    const __m256 w = noisepp::interp_quintic<simd::F32x8>(z);
    const __m256 one = _mm256_set1_ps(1.0f);
    const __m256 x1 = _mm256_sub_ps(x, one);
    const __m256 y1 = _mm256_sub_ps(y, one);
    const __m256 z1 = _mm256_sub_ps(z, one);
    const auto lerp = [](simd::F32x8 t, simd::F32x8 a, simd::F32x8 b)
                          KYROX_AVX2_TARGET { return noisepp::lerp(t, a, b); };
    const __m256 near_z = lerp(v, lerp(u, grad8(load8(hashes[0]), x, y, z), grad8(load8(hashes[1]), x1, y, z)),
                               lerp(u, grad8(load8(hashes[2]), x, y1, z), grad8(load8(hashes[3]), x1, y1, z)));
    const __m256 far_z = lerp(v, lerp(u, grad8(load8(hashes[4]), x, y, z1), grad8(load8(hashes[5]), x1, y, z1)),
                              lerp(u, grad8(load8(hashes[6]), x, y1, z1), grad8(load8(hashes[7]), x1, y1, z1)));
    return lerp(w, near_z, far_z);
}

KYROX_AVX2_TARGET bool fractal_sum8(const std::array<NoisePoint, 8>& points, int octaves, std::array<float, 8>& out)
{
    const auto lanes = [&](float NoisePoint::*axis) {
        std::array<float, 8> v{};
        for (std::size_t l = 0; l < v.size(); ++l) {
            v[l] = points[l].*axis;
        }
        return v;
    };
    __m256 px = _mm256_loadu_ps(lanes(&NoisePoint::x).data());
    __m256 py = _mm256_loadu_ps(lanes(&NoisePoint::y).data());
    const __m256 pz = _mm256_loadu_ps(lanes(&NoisePoint::z).data());
    const int count = std::min(octaves, max_noise_octaves);
    simd::F32x8 sum = 0.0f;
    float amplitude = 1.0f;
    for (int i = 0; i < count; ++i) {
        if (!simd::safe_positions(px) || !simd::safe_positions(py) || !simd::safe_positions(pz)) {
            return false;
        }
        const __m256 n = gradient_noise8(px, py, pz);
        px = _mm256_mul_ps(px, _mm256_set1_ps(2.0f));
        py = _mm256_mul_ps(py, _mm256_set1_ps(2.0f));
        noisepp::fractal_octave<simd::F32x8>(n, amplitude, sum);
        amplitude *= 0.5f;
    }
    _mm256_storeu_ps(out.data(), _mm256_add_ps(sum, _mm256_set1_ps(1.0f)));
    return true;
}

}  // namespace

bool fractal_noise2_x8(const std::array<NoisePoint, 8>& points, int octaves, std::array<float, 8>& out)
{
    if (octaves <= 0) {
        out.fill(1.0f);
        return true;
    }
    return fractal_sum8(points, octaves, out);
}

}  // namespace kyrox
