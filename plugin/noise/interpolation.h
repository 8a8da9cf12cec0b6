#pragma once

// The noise's blend weights and blends, written once for float and the lane types of
// plugin/platform/simd, so the one-point noise and its four- and eight-lane forms take the same
// operations in the same order.

#include "plugin/platform/simd/lanes.h"

namespace noisepp {

// Blend weights across a lattice cell, from the fraction t in [0, 1].
template <class V>
KYROX_LANES constexpr V interp_linear(V t)
{
    return t;
}

template <class V>
KYROX_LANES constexpr V interp_cubic(V t)
{
    return t * t * (3.0f - 2.0f * t);
}

// 6t^5 - 15t^4 + 10t^3 in Horner form.
template <class V>
KYROX_LANES constexpr V interp_quintic(V t)
{
    return t * t * t * (t * (t * 6.0f - 15.0f) + 10.0f);
}

// a + t (b - a): the improved noise's blend.
template <class V>
KYROX_LANES V lerp(V t, V a, V b)
{
    return a + t * (b - a);
}

// (1 - s) a + s b: the gradient noise's blend.
template <class V>
KYROX_LANES V blend(V a, V b, V s)
{
    return (1.0f - s) * a + s * b;
}

}  // namespace noisepp
