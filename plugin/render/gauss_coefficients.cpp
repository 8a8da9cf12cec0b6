#include "plugin/render/gauss_coefficients.h"

#include <stdexcept>

namespace kyrox {

namespace {

// The coefficients of one lane, in the order of the set.
struct LaneCoefficients {
    double k;
    double b1;
    double b2;
    double b3;
    double b;
};

LaneCoefficients lane_coefficients(double sigma) noexcept
{
    const double q = gauss_q(sigma);
    // Young and van Vliet's m0 = 1.1668, m1 = 1.10783, m2 = 1.40586 folded in; 3.2037296485 is
    // m1^2 + m2^2.
    const double scale = (q * q + 2.0 * 1.10783 * q + 3.2037296485) * (1.1668 + q);
    const double b1 = q * (5.7889617365 + 6.76492 * q + 3.0 * q * q) / scale;
    const double b2 = -q * q * (1.1668 + 2.21566 + 3.0 * q) / scale;
    const double b3 = q * q * q / scale;
    const double root_b = 3.7381117538698003 / scale;
    return {1.0 / (1.0 - b1 - b2 - b3), b1, b2, b3, root_b * root_b};
}

// Triggs and Sdika's matrix for one lane, row-major.
std::array<double, 9> lane_boundary(double a1, double a2, double a3) noexcept
{
    const double d = (1.0 - a1 - a2 - a3) * (1.0 + a2 + (a1 - a3) * a3) * (1.0 + a1 - a2 + a3);
    const std::array<double, 9> m{
        1.0 - a3 * a1 - a3 * a3 - a2,
        (a3 + a1) * (a2 + a3 * a1),
        a3 * (a1 + a3 * a2),
        a1 + a3 * a2,
        -(a2 - 1.0) * (a2 + a3 * a1),
        -(a3 * a1 + a3 * a3 + a2 - 1.0) * a3,
        a3 * a1 + a2 + a1 * a1 - a2 * a2,
        a1 * a2 + a3 * a2 * a2 - a1 * a3 * a3 - a3 * a3 * a3 - a3 * a2 + a3,
        a3 * (a1 + a3 * a2),
    };
    std::array<double, 9> scaled{};
    for (std::size_t i = 0; i < m.size(); ++i) {
        scaled[i] = m[i] / d;
    }
    return scaled;
}

}  // namespace

double gauss_q(double sigma) noexcept
{
    if (sigma < 3.556) {
        return 0.0561 * sigma * sigma + 0.5784 * sigma - 0.2568;
    }
    return 2.5091 + 0.9804 * (sigma - 3.556);
}

GaussCoefficients& compute_gauss_coefficients(GaussCoefficients& out, double sigma_a, double sigma_b)
{
    if (!(sigma_a >= 0.5) || !(sigma_b >= 0.5)) {
        throw std::invalid_argument("Fast Gaussian cannot handle sigma < 0.5.");
    }
    const LaneCoefficients a = lane_coefficients(sigma_a);
    const LaneCoefficients b = lane_coefficients(sigma_b);
    out = {{a.k, b.k}, {a.b1, b.b1}, {a.b2, b.b2}, {a.b3, b.b3}, {a.b, b.b}};
    return out;
}

GaussBoundary& compute_gauss_boundary(GaussBoundary& out, const GaussCoefficients& coefficients)
{
    const GaussCoefficients& c = coefficients;
    const std::array<double, 9> lane0 = lane_boundary(c.b1.lane0, c.b2.lane0, c.b3.lane0);
    const std::array<double, 9> lane1 = lane_boundary(c.b1.lane1, c.b2.lane1, c.b3.lane1);
    for (std::size_t i = 0; i < out.m.size(); ++i) {
        out.m[i] = {lane0[i], lane1[i]};
    }
    return out;
}

}  // namespace kyrox
