#pragma once

#include <array>

#include "plugin/render/gauss_pair.h"

namespace kyrox {

// The recursion y[n] = x[n] + b1 y[n-1] + b2 y[n-2] + b3 y[n-3] of a third-order recursive
// Gaussian, per lane. k = 1 / (1 - b1 - b2 - b3) is the steady-state gain; b scales the result
// once, after the forward and the backward pass.
struct GaussCoefficients {
    GaussPair k;
    GaussPair b1;
    GaussPair b2;
    GaussPair b3;
    GaussPair b;
};

// The 3 x 3 matrix, row-major, that starts the backward pass at a run's end from the forward
// pass's last outputs, per lane.
struct GaussBoundary {
    std::array<GaussPair, 9> m;
};

// The filter's shape parameter q for one sigma.
double gauss_q(double sigma) noexcept;

// Fills out with lane 0 for sigma_a and lane 1 for sigma_b. Throws std::invalid_argument, leaving
// out untouched, when either sigma is below 0.5 or NaN: the filter is not a Gaussian there.
GaussCoefficients& compute_gauss_coefficients(GaussCoefficients& out, double sigma_a, double sigma_b);

// Fills out with the boundary matrix of each lane of the coefficients.
GaussBoundary& compute_gauss_boundary(GaussBoundary& out, const GaussCoefficients& coefficients);

}  // namespace kyrox
