// fractal_noise2 on sixteen lanes: the permutation chains of all lanes as byte permutes in registers,
// the gradients as register permutes, and the arithmetic of the one-point noise in the same order on
// every lane.
#include "plugin/noise/improved_noise.h"

#include "plugin/noise/improved_gradients.h"
#include "plugin/noise/interpolation.h"
#include "plugin/noise/octave_steps.h"
#include "plugin/platform/simd/lanes_avx512.h"
#include "plugin/noise/octave_limit.h"
#include "plugin/noise/permutation_table.h"
#include "plugin/platform/simd/simd_path.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>

namespace kyrox {
namespace {

using simd::F32x16;

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
KYROX_AVX512_TARGET F32x16 floor16(F32x16 v)
{
    return _mm512_roundscale_ps(v, _MM_FROUND_TO_NEG_INF | _MM_FROUND_NO_EXC);
}

// The gradient of the low four bits of each lane's hash, as grad in improved_noise.cpp computes it.
KYROX_AVX512_TARGET F32x16 grad16(const NoiseTables& t, __m512i hash, F32x16 x, F32x16 y, F32x16 z)
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
KYROX_AVX512_TARGET F32x16 gradient_noise16(const NoiseTables& t, F32x16 px, F32x16 py, F32x16 pz)
{
    const F32x16 fx = floor16(px);
    const F32x16 fy = floor16(py);
    const F32x16 fz = floor16(pz);
    const CornerHashes h = corner_hashes16(t, fx, fy, fz);
    const F32x16 x = px - fx;
    const F32x16 y = py - fy;
    const F32x16 z = pz - fz;
    const F32x16 u = noisepp::interp_quintic(x);
    const F32x16 v = noisepp::interp_quintic(y);
    const F32x16 w = noisepp::interp_quintic(z);
    const F32x16 x1 = x - 1.0f;
    const F32x16 y1 = y - 1.0f;
    const F32x16 z1 = z - 1.0f;
    using noisepp::lerp;
    const F32x16 near_z =
        lerp(v, lerp(u, grad16(t, corner<0>(h.near), x, y, z), grad16(t, corner<1>(h.near), x1, y, z)),
             lerp(u, grad16(t, corner<2>(h.near), x, y1, z), grad16(t, corner<3>(h.near), x1, y1, z)));
    const F32x16 far_z = lerp(v, lerp(u, grad16(t, corner<0>(h.far), x, y, z1), grad16(t, corner<1>(h.far), x1, y, z1)),
                              lerp(u, grad16(t, corner<2>(h.far), x, y1, z1), grad16(t, corner<3>(h.far), x1, y1, z1)));
    return lerp(w, near_z, far_z);
}

// The sixteen points as four registers of four points each.
struct PointRows {
    __m512 r0, r1, r2, r3;
};

// One coordinate of the sixteen points, gathered by two rounds of two-register permutes.
KYROX_AVX512_TARGET F32x16 axis16(const PointRows& rows, int axis)
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
    F32x16 px = axis16(rows, 0);
    F32x16 py = axis16(rows, 1);
    const F32x16 pz = axis16(rows, 2);
    const int count = std::min(octaves, max_noise_octaves);
    // The lanes decline where the octave-by-octave check of the narrower forms would: x and y only
    // double, exactly, so they stay safe through every octave if they are at the last one, and NaN
    // stays NaN.
    const float last_scale = std::ldexp(1.0f, count - 1);
    if (!simd::safe_positions(px * last_scale) || !simd::safe_positions(py * last_scale) || !simd::safe_positions(pz)) {
        return false;
    }
    const NoiseTables tables = load_tables();
    F32x16 sum = 0.0f;
    float amplitude = 1.0f;
    for (int i = 0; i < count; ++i) {
        const F32x16 n = gradient_noise16(tables, px, py, pz);
        px = px * 2.0f;
        py = py * 2.0f;
        noisepp::fractal_octave(n, amplitude, sum);
        amplitude *= 0.5f;
    }
    _mm512_storeu_ps(out.data(), sum + 1.0f);
    return true;
}

}  // namespace

bool fractal_noise2_x16(const std::array<NoisePoint, 16>& points, int octaves, std::array<float, 16>& out)
{
    if (octaves <= 0) {
        out.fill(1.0f);
        return true;
    }
    return fractal_sum16(points, octaves, out);
}

}  // namespace kyrox
