#pragma once

namespace kyrox {

// Two doubles worked on together, one lane per glow level: the recursive Gaussian filters two
// levels in one pass.
struct GaussPair {
    double lane0 = 0.0;
    double lane1 = 0.0;

    friend GaussPair operator+(GaussPair a, GaussPair b) noexcept { return {a.lane0 + b.lane0, a.lane1 + b.lane1}; }
    friend GaussPair operator-(GaussPair a, GaussPair b) noexcept { return {a.lane0 - b.lane0, a.lane1 - b.lane1}; }
    friend GaussPair operator*(GaussPair a, GaussPair b) noexcept { return {a.lane0 * b.lane0, a.lane1 * b.lane1}; }
};

}  // namespace kyrox
