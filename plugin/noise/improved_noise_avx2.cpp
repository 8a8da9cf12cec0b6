// fractal_noise2 on eight lanes (improved_noise_wide.h): the permutation chains lane by lane and the
// gradients as register permutes.
#include "plugin/noise/improved_noise.h"

#include "plugin/noise/improved_gradients.h"
#include "plugin/noise/improved_noise_wide.h"
#include "plugin/noise/permutation_table.h"
#include "plugin/platform/simd/lanes_avx2.h"
#include "plugin/platform/simd/simd_path.h"

#include <array>
#include <cstddef>

namespace kyrox {
namespace {

using simd::F32x8;
using simd::I32x8;

// The helpers and callbacks return raw registers: GCC 12 clears the upper half of a lane struct
// that a target function compiled out of line (as under the sanitizers) returns.
KYROX_AVX2_TARGET __m256 lookup16(const std::array<float, 16>& table, I32x8 hash)
{
    const F32x8 low = simd::permute(F32x8::load(table.data()), hash);
    const F32x8 high = simd::permute(F32x8::load(table.data() + 8), hash);
    // Bit 3 of the hash, moved to the sign bit, picks the upper eight.
    return _mm256_blendv_ps(low, high, _mm256_castsi256_ps(_mm256_slli_epi32(hash, 28)));
}

KYROX_AVX2_TARGET __m256 grad8(I32x8 hash, F32x8 x, F32x8 y, F32x8 z)
{
    const F32x8 gx = lookup16(grad_component<&GradVector::x>, hash);
    const F32x8 gy = lookup16(grad_component<&GradVector::y>, hash);
    const F32x8 gz = lookup16(grad_component<&GradVector::z>, hash);
    return gx * x + gy * y + gz * z;
}

// gradient_noise2 of eight safe points. The permutation chains run lane by lane: on this work
// scalar loads outpace gathers.
KYROX_AVX2_TARGET __m256 gradient_noise8(F32x8 px, F32x8 py, F32x8 pz)
{
    const F32x8 fx = simd::floor_lanes(px);
    const F32x8 fy = simd::floor_lanes(py);
    const F32x8 fz = simd::floor_lanes(pz);
    alignas(32) std::array<std::array<int, 8>, 3> cells{};
    (truncated_int(fx) & 0xff).store_aligned(cells[0].data());
    (truncated_int(fy) & 0xff).store_aligned(cells[1].data());
    (truncated_int(fz) & 0xff).store_aligned(cells[2].data());
    // hashes[k][l]: corner k of lane l.
    alignas(32) std::array<std::array<int, 8>, 8> hashes{};
    for (std::size_t l = 0; l < 8; ++l) {
        const std::array<int, 8> h = corner_hashes(cells[0][l], cells[1][l], cells[2][l]);
        for (std::size_t k = 0; k < 8; ++k) {
            hashes[k][l] = h[k];
        }
    }
    return improved_blends(px - fx, py - fy, pz - fz,
                           [&](auto corner, F32x8 x, F32x8 y, F32x8 z) KYROX_AVX2_TARGET -> __m256 {
                               return grad8(I32x8::load_aligned(hashes[corner].data()), x, y, z);
                           });
}

KYROX_AVX2_TARGET bool fractal_sum8(const std::array<NoisePoint, 8>& points, int octaves, std::array<float, 8>& out)
{
    return fractal_sum_lanes(
        coordinate_lanes<F32x8>(points, &NoisePoint::x), coordinate_lanes<F32x8>(points, &NoisePoint::y),
        coordinate_lanes<F32x8>(points, &NoisePoint::z), octaves,
        [](F32x8 x, F32x8 y, F32x8 z) KYROX_AVX2_TARGET -> __m256 { return gradient_noise8(x, y, z); }, out);
}

}  // namespace

bool fractal_noise2_x8(const std::array<NoisePoint, 8>& points, int octaves, std::array<float, 8>& out)
{
    return fractal_sum8(points, octaves, out);
}

}  // namespace kyrox
