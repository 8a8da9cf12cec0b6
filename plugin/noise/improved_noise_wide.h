#pragma once

// fractal_noise2 on the lanes of V (F32x8 or F32x16): the octave loop and the blends of the
// one-point noise, in the same order on every lane, written once. Each width passes its own floor,
// corner hashes and gradient lookups, whose fastest form differs.

#include "plugin/noise/improved_noise.h"
#include "plugin/noise/interpolation.h"
#include "plugin/noise/octave_limit.h"
#include "plugin/noise/octave_steps.h"
#include "plugin/platform/simd/lanes.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <type_traits>

namespace kyrox {

// Corner k of a lattice cell, at x + bit 0, y + bit 1, z + bit 2 of k.
template <std::size_t K>
using NoiseCorner = std::integral_constant<std::size_t, K>;

// gradient_noise2's blends from the offsets x, y, z into the cell; gradient(NoiseCorner<k>, dx, dy,
// dz) dots corner k's gradient with the offsets from that corner.
template <class V, class Gradient>
KYROX_LANES V improved_blends(V x, V y, V z, Gradient gradient)
{
    const V u = noisepp::interp_quintic<V>(x);
    const V v = noisepp::interp_quintic<V>(y);
    const V w = noisepp::interp_quintic<V>(z);
    const V x1 = x - 1.0f;
    const V y1 = y - 1.0f;
    const V z1 = z - 1.0f;
    using noisepp::lerp;
    const V near_z = lerp<V>(v, lerp<V>(u, gradient(NoiseCorner<0>{}, x, y, z), gradient(NoiseCorner<1>{}, x1, y, z)),
                             lerp<V>(u, gradient(NoiseCorner<2>{}, x, y1, z), gradient(NoiseCorner<3>{}, x1, y1, z)));
    const V far_z = lerp<V>(v, lerp<V>(u, gradient(NoiseCorner<4>{}, x, y, z1), gradient(NoiseCorner<5>{}, x1, y, z1)),
                            lerp<V>(u, gradient(NoiseCorner<6>{}, x, y1, z1), gradient(NoiseCorner<7>{}, x1, y1, z1)));
    return lerp<V>(w, near_z, far_z);
}

// One coordinate of the points across the lanes.
template <class V>
KYROX_LANES V coordinate_lanes(const std::array<NoisePoint, V::size>& points, float NoisePoint::*axis)
{
    std::array<float, V::size> v{};
    for (std::size_t l = 0; l < v.size(); ++l) {
        v[l] = points[l].*axis;
    }
    return V::load(v.data());
}

// fractal_noise2 of the points at (px, py, pz), noise(x, y, z) being gradient_noise2 of safe points;
// false, writing nothing, where a coordinate leaves the safe range at some octave. x and y only
// double, exactly, so they stay safe through every octave if they are at the last one, and NaN stays
// NaN: one check up front declines where a check at each octave would.
template <class V, class Noise>
KYROX_LANES bool fractal_sum_lanes(V px, V py, V pz, int octaves, Noise noise, std::array<float, V::size>& out)
{
    if (octaves <= 0) {
        out.fill(1.0f);
        return true;
    }
    const int count = std::min(octaves, max_noise_octaves);
    const float last_scale = std::ldexp(1.0f, count - 1);
    if (!safe_positions(px * last_scale) || !safe_positions(py * last_scale) || !safe_positions(pz)) {
        return false;
    }
    V sum = 0.0f;
    float amplitude = 1.0f;
    for (int i = 0; i < count; ++i) {
        const V n = noise(px, py, pz);
        px = px * 2.0f;
        py = py * 2.0f;
        noisepp::fractal_octave<V>(n, amplitude, sum);
        amplitude *= 0.5f;
    }
    (sum + 1.0f).store(out.data());
    return true;
}

}  // namespace kyrox
