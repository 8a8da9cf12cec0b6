#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace noisepp {

struct GradientRow {
    float x, y, z, w;
};

namespace gradient_table_detail {

inline constexpr double pi = 3.14159265358979323846;

constexpr double sqrt_of(double v)
{
    if (v <= 0.0) {
        return 0.0;
    }
    double r = v > 1.0 ? v : 1.0;
    for (int i = 0; i < 64; ++i) {
        r = 0.5 * (r + v / r);
    }
    return r;
}

// Taylor series after reduction to [-pi, pi]; the angles here are non-negative and below a few thousand.
constexpr double sin_of(double a)
{
    const double turns = static_cast<double>(static_cast<std::int64_t>(a / (2.0 * pi)));
    a -= turns * 2.0 * pi;
    if (a > pi) {
        a -= 2.0 * pi;
    }
    double term = a;
    double sum = a;
    for (int n = 1; n < 30; ++n) {
        term *= -a * a / static_cast<double>((2 * n) * (2 * n + 1));
        sum += term;
    }
    return sum;
}

constexpr double cos_of(double a)
{
    return sin_of(a + 0.5 * pi);
}

inline constexpr std::size_t given_rows = 3;
inline constexpr std::size_t spiral_points = 256 - given_rows;
// Coprime to 253 (11 x 23), so stepping by it visits every spiral point once.
inline constexpr std::size_t spiral_stride = 97;

// The first rows are fixed; the rest are the points of a Fibonacci spiral on the unit sphere (evenly spaced
// heights, golden-angle turns). The spiral's own order runs from pole to pole, so rows take its points with
// a stride that scatters neighbouring heights over the table.
constexpr std::array<GradientRow, 256> make_gradient_table()
{
    std::array<GradientRow, 256> table{};
    table[0] = {-0.763874f, -0.596439f, -0.246489f, 0.0f};
    table[1] = {0.396055f, 0.904518f, -0.158073f, 0.0f};
    table[2] = {-0.499004f, -0.866500f, -0.013163f, 0.0f};
    const double golden_angle = pi * (3.0 - sqrt_of(5.0));
    for (std::size_t row = 0; row < spiral_points; ++row) {
        const std::size_t k = row * spiral_stride % spiral_points;
        const double z = 1.0 - (2.0 * static_cast<double>(k) + 1.0) / static_cast<double>(spiral_points);
        const double r = sqrt_of(1.0 - z * z);
        const double angle = golden_angle * static_cast<double>(k);
        table[given_rows + row] = {static_cast<float>(r * cos_of(angle)), static_cast<float>(r * sin_of(angle)),
                                   static_cast<float>(z), 0.0f};
    }
    return table;
}

}  // namespace gradient_table_detail

// Unit gradients {x, y, z, 0} picked by the low byte of the lattice hash.
inline constexpr std::array<GradientRow, 256> gradient_table = gradient_table_detail::make_gradient_table();

}  // namespace noisepp
