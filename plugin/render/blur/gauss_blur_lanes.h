#pragma once

// The recursive Gaussian's per-cell formulas, written once for every width: V is GaussPair (one
// cell, both glow levels) or a register of two or four cells side by side (the AVX2 and AVX-512
// passes), anything with GaussPair's +, - and *. Every width thus takes the same operations in the
// same order on every double: the same bits.

#include <array>
#include <cstddef>

#include "plugin/platform/simd/lanes.h"
#include "plugin/render/blur/gauss_blur.h"

namespace kyrox {

// A pass's coefficients and boundary matrix, each widened to V.
template <class V>
struct GaussLaneCoefficients {
    V k;
    V b1;
    V b2;
    V b3;
    V b;
    std::array<V, 9> m;
};

// widen(GaussPair) gives the V holding that pair in every cell.
template <class V, class Widen>
KYROX_LANES GaussLaneCoefficients<V> gauss_lane_coefficients(const GaussPass& pass, Widen widen) noexcept
{
    const GaussCoefficients& c = pass.coefficients;
    GaussLaneCoefficients<V> w{widen(c.k), widen(c.b1), widen(c.b2), widen(c.b3), widen(c.b), {}};
    for (std::size_t i = 0; i < w.m.size(); ++i) {
        w.m[i] = widen(pass.boundary.m[i]);
    }
    return w;
}

// The newest three outputs of one direction of the recursion, y1 the newest.
template <class V>
struct GaussHistory {
    V y1;
    V y2;
    V y3;
};

// The outputs before a run: the steady response to its first input. They also stand in for the
// run's missing cells when it is shorter than the history.
template <class V>
KYROX_LANES GaussHistory<V> gauss_forward_start(const GaussLaneCoefficients<V>& c, V first_input) noexcept
{
    const V y = c.k * first_input;
    return {y, y, y};
}

// x + b1 y1 + b2 y2 + b3 y3, added left to right.
template <class V>
KYROX_LANES V gauss_step(const GaussLaneCoefficients<V>& c, V x, const GaussHistory<V>& h) noexcept
{
    return x + c.b1 * h.y1 + c.b2 * h.y2 + c.b3 * h.y3;
}

// Moves the history on by one step, y becoming the newest.
template <class V>
KYROX_LANES void gauss_push(GaussHistory<V>& h, V y) noexcept
{
    h.y3 = h.y2;
    h.y2 = h.y1;
    h.y1 = y;
}

// The backward pass's history beyond the run's end, by Triggs and Sdika's matrix, from the forward
// history at the end and the run's last input.
template <class V>
KYROX_LANES GaussHistory<V> gauss_backward_start(const GaussLaneCoefficients<V>& c, const GaussHistory<V>& forward,
                                                 V last_input) noexcept
{
    const std::array<V, 9>& m = c.m;
    const V forward_steady = c.k * last_input;
    const V backward_steady = c.k * forward_steady;
    const V d0 = forward.y1 - forward_steady;
    const V d1 = forward.y2 - forward_steady;
    const V d2 = forward.y3 - forward_steady;
    return {m[0] * d0 + m[1] * d1 + m[2] * d2 + backward_steady, m[3] * d0 + m[4] * d1 + m[5] * d2 + backward_steady,
            m[6] * d0 + m[7] * d1 + m[8] * d2 + backward_steady};
}

}  // namespace kyrox
