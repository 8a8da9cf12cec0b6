#pragma once

// RidgedMultiElement3D::value on the lanes of V (F32x4, F32x8 or F32x16): the corners' hashes in 32-bit
// lanes and the arithmetic of gradient_noise3_std in the same order on every lane. Written once; each
// width passes its own fetch of the gradient rows, whose fastest layout differs.

#include "plugin/noise/gradient_table.h"
#include "plugin/noise/interpolation.h"
#include "plugin/noise/octave_steps.h"
#include "plugin/noise/ridged_multi_element.h"
#include "plugin/platform/simd/lanes.h"

#include <array>
#include <cstdint>
#include <span>

namespace noisepp {

static_assert(sizeof(GradientRow) == 4 * sizeof(float));

// The gradient rows of a lane's hashes, x, y and z across the lanes.
template <class V>
struct GradientLanes {
    V x;
    V y;
    V z;
};

// Fetches the rows 0..255 of gradient_table that each lane names.
template <class V>
using GradientFetch = GradientLanes<V> (*)(typename V::Int row);

// lattice_axis of safe values: the lower corner is int(v), one less where v is not above 0.
template <class V>
struct LatticeLanes {
    typename V::Int i0;
    V d0;
    V d1;
};

template <class V>
KYROX_LANES LatticeLanes<V> lattice_lanes(V v)
{
    // Safe values are not NaN, so 0 >= v is where v is not above 0.
    const typename V::Int c0 = decremented_where(0.0f >= v, truncated_int(v));
    return {c0, v - to_float(c0), v - to_float(c0 + 1)};
}

// The hash terms of one axis at its two corners. The upper corner is one more, so its term is one
// factor more (modulo 2^32, as the hash wraps): an add where a multiply would cost ten cycles.
template <class I>
struct HashTerms {
    I t0;
    I t1;
};

template <class V>
KYROX_LANES HashTerms<typename V::Int> hash_terms(const LatticeLanes<V>& axis, std::int32_t factor,
                                                  typename V::Int added)
{
    const typename V::Int t0 = axis.i0 * factor + added;
    return {t0, t0 + factor};
}

// corner_value from the sum of a corner's hash terms (which wraps modulo 2^32 in any order).
template <class V, GradientFetch<V> Fetch>
KYROX_LANES V corner_lanes(typename V::Int hash, V dx, V dy, V dz)
{
    const GradientLanes<V> g = Fetch((hash ^ shifted_right<8>(hash)) & 0xff);
    return (g.x * dx + g.y * dy + g.z * dz) * 2.12f;
}

// The blends along x, then y, of the four corners at one z corner, whose hash term is iz.
template <class V, GradientFetch<V> Fetch>
KYROX_LANES V face_lanes(const LatticeLanes<V>& x, const LatticeLanes<V>& y, const HashTerms<typename V::Int>& hx,
                         const HashTerms<typename V::Int>& hy, typename V::Int iz, V dz, V sx, V sy)
{
    const typename V::Int y0 = hy.t0 + iz;
    const typename V::Int y1 = hy.t1 + iz;
    const V near_y = blend<V>(corner_lanes<V, Fetch>(hx.t0 + y0, x.d0, y.d0, dz),
                              corner_lanes<V, Fetch>(hx.t1 + y0, x.d1, y.d0, dz), sx);
    const V far_y = blend<V>(corner_lanes<V, Fetch>(hx.t0 + y1, x.d0, y.d1, dz),
                             corner_lanes<V, Fetch>(hx.t1 + y1, x.d1, y.d1, dz), sx);
    return blend<V>(near_y, far_y, sy);
}

// gradient_noise3_std of safe points.
template <class V, GradientFetch<V> Fetch>
KYROX_LANES V gradient_noise3_std_lanes(V px, V py, V pz, int seed)
{
    using I = typename V::Int;
    const LatticeLanes<V> x = lattice_lanes(px);
    const LatticeLanes<V> y = lattice_lanes(py);
    const LatticeLanes<V> z = lattice_lanes(pz);
    const auto s = static_cast<std::int32_t>(1013u * static_cast<std::uint32_t>(seed));
    const HashTerms<I> hx = hash_terms(x, 1619, I(0));
    const HashTerms<I> hy = hash_terms(y, 31337, I(0));
    const HashTerms<I> hz = hash_terms(z, 6971, I(s));
    const V sx = interp_cubic<V>(x.d0);
    const V sy = interp_cubic<V>(y.d0);
    return blend<V>(face_lanes<V, Fetch>(x, y, hx, hy, hz.t0, z.d0, sx, sy),
                    face_lanes<V, Fetch>(x, y, hx, hy, hz.t1, z.d1, sx, sy), interp_cubic<V>(z.d0));
}

// The octave sum of RidgedMultiElement3D::value at V::size points; false, writing nothing, where a
// scaled coordinate leaves the safe range.
template <class V, GradientFetch<V> Fetch>
KYROX_LANES bool ridged_sum_lanes(std::span<const RidgedOctave> octaves, float offset, float gain,
                                  const std::array<float, V::size>& x, const std::array<float, V::size>& y,
                                  const std::array<float, V::size>& z, std::array<float, V::size>& out)
{
    const V px = V::load(x.data());
    const V py = V::load(y.data());
    const V pz = V::load(z.data());
    V weight = 1.0f;
    V sum = 0.0f;
    for (const RidgedOctave& octave : octaves) {
        const V sx = px * octave.frequency;
        const V sy = py * octave.frequency;
        const V sz = pz * octave.frequency;
        // Within +-2^30 ridged_wrap leaves a coordinate as it is.
        if (!safe_positions(sx) || !safe_positions(sy) || !safe_positions(sz)) {
            return false;
        }
        ridged_octave<V>(gradient_noise3_std_lanes<V, Fetch>(sx, sy, sz, octave.seed), offset, gain,
                         octave.spectral_weight, weight, sum);
    }
    (sum * 1.25f - 1.0f).store(out.data());
    return true;
}

}  // namespace noisepp
