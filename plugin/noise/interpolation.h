#pragma once

namespace noisepp {

// Blend weights across a lattice cell, from the fraction t in [0, 1].
constexpr float interp_linear(float t) { return t; }

constexpr float interp_cubic(float t) { return t * t * (3.0f - 2.0f * t); }

// 6t^5 - 15t^4 + 10t^3 in Horner form.
constexpr float interp_quintic(float t) { return t * t * t * (t * (t * 6.0f - 15.0f) + 10.0f); }

}  // namespace noisepp
