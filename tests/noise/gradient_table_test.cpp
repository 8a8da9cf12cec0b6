#include "plugin/noise/gradient_table.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstddef>

namespace {

using noisepp::gradient_table;
using noisepp::GradientRow;

double dot(const GradientRow& a, const GradientRow& b)
{
    return static_cast<double>(a.x) * b.x + static_cast<double>(a.y) * b.y + static_cast<double>(a.z) * b.z;
}

TEST(GradientTable, StartsWithTheFixedRows)
{
    const std::array<GradientRow, 3> fixed = {{{-0.763874f, -0.596439f, -0.246489f, 0.0f},
                                               {0.396055f, 0.904518f, -0.158073f, 0.0f},
                                               {-0.499004f, -0.866500f, -0.013163f, 0.0f}}};
    for (std::size_t i = 0; i < fixed.size(); ++i) {
        EXPECT_EQ(gradient_table[i].x, fixed[i].x) << i;
        EXPECT_EQ(gradient_table[i].y, fixed[i].y) << i;
        EXPECT_EQ(gradient_table[i].z, fixed[i].z) << i;
    }
}

TEST(GradientTable, RowsAreUnitVectorsWithZeroW)
{
    for (std::size_t i = 0; i < gradient_table.size(); ++i) {
        EXPECT_NEAR(std::sqrt(dot(gradient_table[i], gradient_table[i])), 1.0, 1e-5) << i;
        EXPECT_EQ(gradient_table[i].w, 0.0f) << i;
    }
}

TEST(GradientTable, NoTwoRowsAreWithinFourDegrees)
{
    const double limit = std::cos(4.0 * 3.14159265358979323846 / 180.0);
    for (std::size_t i = 0; i < gradient_table.size(); ++i) {
        for (std::size_t j = 0; j < i; ++j) {
            EXPECT_LT(dot(gradient_table[i], gradient_table[j]), limit) << i << " " << j;
        }
    }
}

TEST(GradientTable, DirectionsCoverTheSphereEvenly)
{
    std::array<double, 3> mean{};
    std::array<double, 3> second{};
    std::array<int, 8> octants{};
    for (const GradientRow& g : gradient_table) {
        const std::array<double, 3> v = {g.x, g.y, g.z};
        for (std::size_t c = 0; c < 3; ++c) {
            mean[c] += v[c] / 256.0;
            second[c] += v[c] * v[c] / 256.0;
        }
        ++octants[(g.x > 0 ? 1u : 0u) | (g.y > 0 ? 2u : 0u) | (g.z > 0 ? 4u : 0u)];
    }
    for (std::size_t c = 0; c < 3; ++c) {
        EXPECT_NEAR(mean[c], 0.0, 0.02) << c;
        EXPECT_NEAR(second[c], 1.0 / 3.0, 0.01) << c;
    }
    for (const int count : octants) {
        EXPECT_GE(count, 28);
        EXPECT_LE(count, 36);
    }
}

}  // namespace
