#include "plugin/noise/improved_noise.h"
#include "plugin/noise/noise_floor.h"
#include "plugin/noise/permutation_table.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <climits>
#include <cmath>
#include <cstddef>
#include <limits>

namespace {

using kyrox::fractal_noise2;
using kyrox::gradient_noise2;
using kyrox::NoisePoint;

constexpr float nan = std::numeric_limits<float>::quiet_NaN();
constexpr float inf = std::numeric_limits<float>::infinity();

// Improved noise written out in double, straight from the published algorithm.
double reference_noise(double x, double y, double z)
{
    const auto p = [](int i) { return kyrox::permutation_table[static_cast<std::size_t>(i)]; };
    const auto fade = [](double t) { return t * t * t * (t * (t * 6 - 15) + 10); };
    const auto lerp = [](double t, double a, double b) { return a + t * (b - a); };
    const auto grad = [](int hash, double gx, double gy, double gz) {
        const int h = hash & 15;
        const double u = h < 8 ? gx : gy;
        const double v = h < 4 ? gy : h == 12 || h == 14 ? gx : gz;
        return ((h & 1) == 0 ? u : -u) + ((h & 2) == 0 ? v : -v);
    };
    const int X = static_cast<int>(std::floor(x)) & 255;
    const int Y = static_cast<int>(std::floor(y)) & 255;
    const int Z = static_cast<int>(std::floor(z)) & 255;
    x -= std::floor(x);
    y -= std::floor(y);
    z -= std::floor(z);
    const double u = fade(x);
    const double v = fade(y);
    const double w = fade(z);
    const int A = p(X) + Y, AA = p(A) + Z, AB = p(A + 1) + Z;
    const int B = p(X + 1) + Y, BA = p(B) + Z, BB = p(B + 1) + Z;
    return lerp(w,
                lerp(v, lerp(u, grad(p(AA), x, y, z), grad(p(BA), x - 1, y, z)),
                     lerp(u, grad(p(AB), x, y - 1, z), grad(p(BB), x - 1, y - 1, z))),
                lerp(v, lerp(u, grad(p(AA + 1), x, y, z - 1), grad(p(BA + 1), x - 1, y, z - 1)),
                     lerp(u, grad(p(AB + 1), x, y - 1, z - 1), grad(p(BB + 1), x - 1, y - 1, z - 1))));
}

TEST(PermutationTable, IsThePublishedPermutationTwice)
{
    std::array<std::int32_t, 256> sorted = kyrox::perlin_permutation;
    std::sort(sorted.begin(), sorted.end());
    for (std::size_t i = 0; i < sorted.size(); ++i) {
        EXPECT_EQ(sorted[i], static_cast<std::int32_t>(i));
    }
    const auto& p = kyrox::permutation_table;
    const std::array<std::int32_t, 6> head = {151, 160, 137, 91, 90, 15};
    EXPECT_TRUE(std::equal(head.begin(), head.end(), p.begin()));
    EXPECT_EQ(p[253], 61);
    EXPECT_EQ(p[254], 156);
    EXPECT_EQ(p[255], 180);
    for (std::size_t i = 0; i < 256; ++i) {
        EXPECT_EQ(p[i + 256], p[i]) << i;
    }
}

TEST(NoiseFloor, RoundsDownThroughTruncation)
{
    struct Case {
        float v, floor;
        int cell;
    };
    const std::array<Case, 10> cases = {{
        {-0.25f, -1.0f, 255},
        {0.25f, 0.0f, 0},
        {2.5f, 2.0f, 2},
        {-2.5f, -3.0f, 253},
        {-1.0f, -1.0f, 255},
        {256.0f, 256.0f, 0},
        {511.75f, 511.0f, 255},
        {-2147483648.0f, -2147483648.0f, 0},
        {3.0e9f, 3.0e9f, 0},  // outside int: unchanged, and a multiple of 256
        {-1.0e30f, -1.0e30f, 0},
    }};
    for (const Case& c : cases) {
        EXPECT_EQ(kyrox::noise_floor(c.v), c.floor) << c.v;
        EXPECT_EQ(kyrox::noise_cell_index(kyrox::noise_floor(c.v)), c.cell) << c.v;
    }
    EXPECT_TRUE(std::signbit(kyrox::noise_floor(-0.0f)));
    EXPECT_TRUE(std::isnan(kyrox::noise_floor(nan)));
    EXPECT_EQ(kyrox::noise_floor(-inf), -inf);
    EXPECT_EQ(kyrox::noise_cell_index(nan), 0);
}

TEST(GradientNoise2, IsZeroAtIntegerPoints)
{
    for (const float x : {0.0f, 1.0f, -1.0f, 255.0f, 256.0f, -300.0f}) {
        for (const float y : {0.0f, 7.0f, -13.0f}) {
            for (const float z : {0.0f, 2.0f, -255.0f}) {
                EXPECT_EQ(gradient_noise2({x, y, z, 0.5f}), 0.0f) << x << " " << y << " " << z;
            }
        }
    }
}

TEST(GradientNoise2, MatchesThePublishedAlgorithm)
{
    // The value the reference implementation is commonly checked with.
    EXPECT_NEAR(gradient_noise2({3.14f, 42.0f, 7.0f, 0.0f}), 0.13691995878400012, 1e-5);
    const std::array<std::array<float, 3>, 6> points = {{{0.5f, 0.5f, 0.5f},
                                                         {0.1f, 0.9f, 0.3f},
                                                         {-0.25f, 1.75f, -3.5f},
                                                         {12.34f, -56.78f, 9.01f},
                                                         {255.5f, 255.5f, 255.5f},
                                                         {-1000.3f, 77.7f, 0.01f}}};
    for (const auto& pt : points) {
        EXPECT_NEAR(gradient_noise2({pt[0], pt[1], pt[2], 0.0f}), reference_noise(pt[0], pt[1], pt[2]), 1e-5)
            << pt[0] << " " << pt[1] << " " << pt[2];
    }
    // A sweep wide enough to meet every gradient of the hash many times over.
    for (int i = 0; i < 2000; ++i) {
        const float x = -40.0f + 0.0391f * static_cast<float>(i);
        const float y = 3.3f - 0.0173f * static_cast<float>(i);
        const float z = 0.0117f * static_cast<float>(i % 257);
        EXPECT_NEAR(gradient_noise2({x, y, z, 0.0f}), reference_noise(x, y, z), 1e-5) << x << " " << y << " " << z;
    }
}

TEST(GradientNoise2, NegativeCoordinatesFloorDownwards)
{
    // -0.25 is cell 255 at fraction 0.75, exactly as 255.75 is; w is never read.
    EXPECT_EQ(gradient_noise2({-0.25f, 0.4f, 0.6f, 0.0f}), gradient_noise2({255.75f, 0.4f, 0.6f, 9.0f}));
    EXPECT_EQ(gradient_noise2({0.4f, -0.25f, -0.25f, 0.0f}), gradient_noise2({0.4f, 255.75f, 255.75f, 0.0f}));
    EXPECT_NE(gradient_noise2({-0.25f, 0.4f, 0.6f, 0.0f}), gradient_noise2({0.25f, 0.4f, 0.6f, 0.0f}));
}

TEST(GradientNoise2, BadCoordinatesGiveNanOrFiniteValues)
{
    EXPECT_TRUE(std::isnan(gradient_noise2({nan, 0.5f, 0.5f, 0.0f})));
    EXPECT_TRUE(std::isnan(gradient_noise2({0.5f, inf, 0.5f, 0.0f})));
    EXPECT_TRUE(std::isnan(gradient_noise2({0.5f, 0.5f, -inf, 0.0f})));
    EXPECT_EQ(gradient_noise2({3.0e9f, -1.0e30f, std::numeric_limits<float>::max(), 0.0f}), 0.0f);
}

TEST(FractalNoise2, NoOctavesGiveExactlyOne)
{
    for (const int octaves : {0, -1, -100, INT_MIN}) {
        EXPECT_EQ(fractal_noise2({0.3f, 0.7f, 0.2f, 0.0f}, octaves), 1.0f) << octaves;
        EXPECT_EQ(fractal_noise2({nan, 0.7f, 0.2f, 0.0f}, octaves), 1.0f) << octaves;
    }
}

TEST(FractalNoise2, OneOctaveIsTwiceTheFoldedNoise)
{
    for (const NoisePoint& p : {NoisePoint{0.3f, 0.7f, 0.2f, 0.0f}, NoisePoint{-5.5f, 3.25f, 11.1f, 1.0f},
                                NoisePoint{100.9f, -0.01f, 0.5f, 0.0f}}) {
        EXPECT_NEAR(fractal_noise2(p, 1), 2.0f * std::fabs(gradient_noise2(p)), 1e-7f) << p.x;
    }
}

TEST(FractalNoise2, ScalesXAndYButNotZ)
{
    const NoisePoint p = {0.37f, -1.21f, 0.6f, 4.0f};
    const NoisePoint before = p;
    double sum = 0.0;
    double amplitude = 1.0;
    for (int k = 0; k < 5; ++k) {
        const float scale = static_cast<float>(1 << k);
        sum += (2.0 * std::fabs(gradient_noise2({p.x * scale, p.y * scale, p.z, 0.0f})) - 1.0) * amplitude;
        amplitude *= 0.5;
    }
    EXPECT_NEAR(fractal_noise2(p, 5), sum + 1.0, 1e-6);
    EXPECT_EQ(p.x, before.x);
    EXPECT_EQ(p.y, before.y);
}

TEST(FractalNoise2, HugeOctaveCountsAndCoordinatesStayDefined)
{
    EXPECT_TRUE(std::isfinite(fractal_noise2({0.3f, 0.7f, 0.2f, 0.0f}, INT_MAX)));
    EXPECT_EQ(fractal_noise2({0.3f, 0.7f, 0.2f, 0.0f}, INT_MAX), fractal_noise2({0.3f, 0.7f, 0.2f, 0.0f}, 64));
    EXPECT_TRUE(std::isfinite(fractal_noise2({1.0e20f, -3.0e9f, 5.5f, 0.0f}, 10)));
    EXPECT_TRUE(std::isnan(fractal_noise2({0.3f, inf, 0.2f, 0.0f}, 3)));
}

}  // namespace
