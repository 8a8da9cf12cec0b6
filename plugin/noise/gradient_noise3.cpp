#include "plugin/noise/gradient_noise3.h"

#include "plugin/noise/gradient_noise3_detail.h"
#include "plugin/noise/gradient_table.h"
#include "plugin/noise/interpolation.h"

#include <cmath>

namespace noisepp {
namespace {

float corner_value(std::uint32_t ix, std::uint32_t iy, std::uint32_t iz, std::uint32_t seed_term, float dx, float dy,
                   float dz)
{
    std::uint32_t h = 1619u * ix + 31337u * iy + 6971u * iz + seed_term;
    h ^= static_cast<std::uint32_t>(static_cast<std::int32_t>(h) >> 8);
    const GradientRow& g = gradient_table[h & 0xffu];
    return (g.x * dx + g.y * dy + g.z * dz) * 2.12f;
}

template <float (*Weight)(float)>
float gradient_noise3_weighted(float x, float y, float z, int seed)
{
    const LatticeAxis ax = lattice_axis(x);
    const LatticeAxis ay = lattice_axis(y);
    const LatticeAxis az = lattice_axis(z);
    return gradient_noise3(ax, ay, az, Weight(ax.d0), Weight(ay.d0), Weight(az.d0), seed);
}

}  // namespace

LatticeAxis lattice_axis(float v)
{
    // Below 2^55 the truncation fits 64 bits. Every float beyond it is a whole multiple of 2^32, so its
    // corner wraps to index 0 (or -1) as the hash's 32-bit arithmetic would; NaN takes that path as well
    // and then yields NaN offsets.
    if (std::fabs(v) < 0x1p55f) {
        std::int64_t c0 = static_cast<std::int64_t>(v);
        if (!(v > 0.0f)) {
            --c0;
        }
        const auto i0 = static_cast<std::uint32_t>(static_cast<std::uint64_t>(c0));
        return {i0, i0 + 1u, v - static_cast<float>(c0), v - static_cast<float>(c0 + 1)};
    }
    const bool positive = v > 0.0f;
    const float c0 = positive ? v : v - 1.0f;
    const std::uint32_t i0 = positive ? 0u : 0xffffffffu;
    return {i0, i0 + 1u, v - c0, v - (c0 + 1.0f)};
}

float gradient_noise3(const LatticeAxis& x, const LatticeAxis& y, const LatticeAxis& z, float sx, float sy, float sz,
                      int seed)
{
    const std::uint32_t s = 1013u * static_cast<std::uint32_t>(seed);
    const auto edge_x = [&](std::uint32_t iy, std::uint32_t iz, float dy, float dz) {
        return blend(corner_value(x.i0, iy, iz, s, x.d0, dy, dz), corner_value(x.i1, iy, iz, s, x.d1, dy, dz), sx);
    };
    const auto face_xy = [&](std::uint32_t iz, float dz) {
        return blend(edge_x(y.i0, iz, y.d0, dz), edge_x(y.i1, iz, y.d1, dz), sy);
    };
    return blend(face_xy(z.i0, z.d0), face_xy(z.i1, z.d1), sz);
}

float gradient_noise3_std(float x, float y, float z, int seed)
{
    return gradient_noise3_weighted<interp_cubic<float>>(x, y, z, seed);
}

float gradient_noise3_best(float x, float y, float z, int seed)
{
    return gradient_noise3_weighted<interp_quintic<float>>(x, y, z, seed);
}

float gradient_noise3_fast(float x, float y, float z, int seed)
{
    return gradient_noise3_weighted<interp_linear<float>>(x, y, z, seed);
}

}  // namespace noisepp
