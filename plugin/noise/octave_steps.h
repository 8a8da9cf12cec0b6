#pragma once

// One octave's step of the fractal sums, written once for float and the lane types so that the
// one-point sums and their four-, eight- and sixteen-lane forms take the same operations in the same
// order.

#include "plugin/platform/simd/lanes.h"

namespace noisepp {

// Folds the octave's noise n into a ridge around the offset, weights it by the octave before and adds it
// to the sum; the next octave's weight is the signal times the gain, clamped to [-1, 1] as std::clamp
// clamps (NaN stays NaN).
template <class V>
KYROX_LANES void ridged_octave(V n, float offset, float gain, float spectral_weight, V& weight, V& sum)
{
    using kyrox::simd::magnitude;
    using kyrox::simd::select;
    const V ridge = offset - magnitude(n);
    const V signal = ridge * ridge * weight;
    sum = sum + signal * spectral_weight;
    const V w = gain * signal;
    const V low = select(w < -1.0f, V(-1.0f), w);
    weight = select(1.0f < low, V(1.0f), low);
}

// The improved noise's octave sum: |n| folded to 2 |n| - 1 and added at the octave's amplitude.
template <class V>
KYROX_LANES void fractal_octave(V n, float amplitude, V& sum)
{
    using kyrox::simd::magnitude;
    sum = sum + (2.0f * magnitude(n) - 1.0f) * amplitude;
}

}  // namespace noisepp
