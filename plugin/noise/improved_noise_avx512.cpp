// fractal_noise2 on sixteen lanes (improved_noise_wide.h): the permutation chains of all lanes as byte
// permutes in registers and the gradients as register permutes.
#include "plugin/noise/improved_noise.h"

#include "plugin/noise/improved_gradients.h"
#include "plugin/noise/improved_noise_wide.h"
#include "plugin/noise/permutation_table.h"
#include "plugin/platform/simd/lanes_avx512.h"
#include "plugin/platform/simd/simd_path.h"

#include <array>
#include <cstddef>
#include <cstdint>

namespace kyrox {
namespace {

using simd::F32x16;

// The helpers and callbacks return raw registers: GCC 12 clears the upper bits of a lane struct that
// a target function compiled out of line (as under the sanitizers) returns.

// The permutation once, as bytes: wrapping byte sums stand for the doubled table.
constexpr std::array<std::uint8_t, 256> permutation_bytes = [] {
    std::array<std::uint8_t, 256> bytes{};
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        bytes[i] = static_cast<std::uint8_t>(perlin_permutation[i]);
    }
    return bytes;
}();

// The tables of the noise, loaded once per call into registers.
struct NoiseTables {
    // The permutation in quarters of 64 bytes.
    __m512i p0, p1, p2, p3;
    __m512 gx, gy, gz;
};

KYROX_AVX512_TARGET NoiseTables load_tables()
{
    const auto quarter = [](std::size_t q)
                             KYROX_AVX512_TARGET { return _mm512_loadu_si512(permutation_bytes.data() + 64 * q); };
    return {quarter(0),
            quarter(1),
            quarter(2),
            quarter(3),
            _mm512_loadu_ps(grad_component<&GradVector::x>.data()),
            _mm512_loadu_ps(grad_component<&GradVector::y>.data()),
            _mm512_loadu_ps(grad_component<&GradVector::z>.data())};
}

// The permutation entry of each of the 64 index bytes. The hash chains add cell indices to entries
// and look the sums up in the doubled table, which equals looking them up modulo 256: wrapping byte
// sums index this single copy directly.
KYROX_AVX512_TARGET __m512i permute_bytes(const NoiseTables& t, __m512i index)
{
    // Bits 0-6 pick one of 128 bytes from each half; bit 7 picks the half.
    const __m512i low = _mm512_permutex2var_epi8(t.p0, index, t.p1);
    const __m512i high = _mm512_permutex2var_epi8(t.p2, index, t.p3);
    return _mm512_mask_blend_epi8(_mm512_movepi8_mask(index), low, high);
}

// The cell of each lane of safe floored values (its low byte: the table repeats every 256) in all
// four bytes of the lane.
KYROX_AVX512_TARGET __m512i cell_bytes(F32x16 floored)
{
    const __m512i spread = _mm512_set4_epi32(0x0c0c0c0c, 0x08080808, 0x04040404, 0x00000000);
    return _mm512_shuffle_epi8(_mm512_cvttps_epi32(floored), spread);
}

// The floor of the one-point noise (noise_floor) of safe positions in one instruction: for every
// value strictly inside +-2^30 both give the largest whole value not above it, and both keep a
// whole value, -0 included, as it is. With denormals read as zero (MXCSR.DAZ) this gives 0 for a
// denormal where noise_floor keeps it, but the fraction and cell taken from either are the same.
KYROX_AVX512_TARGET __m512 floor16(F32x16 v)
{
    return _mm512_roundscale_ps(v, _MM_FROUND_TO_NEG_INF | _MM_FROUND_NO_EXC);
}

// The gradient of the low four bits of each lane's hash, as grad in improved_noise.cpp computes it.
KYROX_AVX512_TARGET __m512 grad16(const NoiseTables& t, __m512i hash, F32x16 x, F32x16 y, F32x16 z)
{
    const F32x16 gx = _mm512_permutexvar_ps(hash, t.gx);
    const F32x16 gy = _mm512_permutexvar_ps(hash, t.gy);
    const F32x16 gz = _mm512_permutexvar_ps(hash, t.gz);
    return gx * x + gy * y + gz * z;
}

// Corner k of the hashes packed by corner_hashes16.
template <int Corner>
KYROX_AVX512_TARGET __m512i corner(__m512i packed)
{
    return _mm512_srli_epi32(packed, 8 * Corner);
}

// corner_hashes of every lane, byte k of each lane of near (far) holding that of corner k (k + 4).
// Each step looks up four chains per lane at once: byte b of a lane carries the chain that needs
// x + bit 0 of b, then y + bit 1 of b.
struct CornerHashes {
    __m512i near, far;
};

KYROX_AVX512_TARGET CornerHashes corner_hashes16(const NoiseTables& t, F32x16 fx, F32x16 fy, F32x16 fz)
{
    // (P[cx], P[cx + 1], P[cx], P[cx + 1])
    const __m512i px = permute_bytes(t, _mm512_add_epi8(cell_bytes(fx), _mm512_set1_epi32(0x01000100)));
    // (P[a], P[b], P[a + 1], P[b + 1]) with a = P[cx] + cy, b = P[cx + 1] + cy
    const __m512i py =
        permute_bytes(t, _mm512_add_epi8(px, _mm512_add_epi8(cell_bytes(fy), _mm512_set1_epi32(0x01010000))));
    // (aa, ba, ab, bb)
    const __m512i chains = _mm512_add_epi8(py, cell_bytes(fz));
    return {permute_bytes(t, chains), permute_bytes(t, _mm512_add_epi8(chains, _mm512_set1_epi8(1)))};
}

// gradient_noise2 of sixteen safe points.
KYROX_AVX512_TARGET __m512 gradient_noise16(const NoiseTables& t, F32x16 px, F32x16 py, F32x16 pz)
{
    const F32x16 fx = floor16(px);
    const F32x16 fy = floor16(py);
    const F32x16 fz = floor16(pz);
    const CornerHashes h = corner_hashes16(t, fx, fy, fz);
    return improved_blends(px - fx, py - fy, pz - fz,
                           [&](auto k, F32x16 x, F32x16 y, F32x16 z) KYROX_AVX512_TARGET -> __m512 {
                               return grad16(t, corner<k % 4>(k < 4 ? h.near : h.far), x, y, z);
                           });
}

// The sixteen points as four registers of four points each.
struct PointRows {
    __m512 r0, r1, r2, r3;
};

// One coordinate of the sixteen points, gathered by two rounds of two-register permutes.
KYROX_AVX512_TARGET __m512 axis16(const PointRows& rows, int axis)
{
    const __m512i pick = _mm512_add_epi32(_mm512_set1_epi32(axis),
                                          _mm512_setr_epi32(0, 4, 8, 12, 16, 20, 24, 28, 0, 4, 8, 12, 16, 20, 24, 28));
    const __m512 low = _mm512_permutex2var_ps(rows.r0, pick, rows.r1);
    const __m512 high = _mm512_permutex2var_ps(rows.r2, pick, rows.r3);
    return _mm512_shuffle_f32x4(low, high, _MM_SHUFFLE(1, 0, 1, 0));
}

KYROX_AVX512_TARGET bool fractal_sum16(const std::array<NoisePoint, 16>& points, int octaves,
                                       std::array<float, 16>& out)
{
    static_assert(sizeof(NoisePoint) == 4 * sizeof(float));
    const PointRows rows{_mm512_loadu_ps(&points[0].x), _mm512_loadu_ps(&points[4].x), _mm512_loadu_ps(&points[8].x),
                         _mm512_loadu_ps(&points[12].x)};
    const NoiseTables tables = load_tables();
    return fractal_sum_lanes<F32x16>(
        axis16(rows, 0), axis16(rows, 1), axis16(rows, 2), octaves,
        [&](F32x16 x, F32x16 y, F32x16 z) KYROX_AVX512_TARGET -> __m512 { return gradient_noise16(tables, x, y, z); },
        out);
}

}  // namespace

bool fractal_noise2_x16(const std::array<NoisePoint, 16>& points, int octaves, std::array<float, 16>& out)
{
    return fractal_sum16(points, octaves, out);
}

}  // namespace kyrox
