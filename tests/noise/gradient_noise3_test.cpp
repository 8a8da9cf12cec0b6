#include "plugin/noise/gradient_noise3.h"
#include "plugin/noise/gradient_noise3_detail.h"
#include "plugin/noise/interpolation.h"

#include <gtest/gtest.h>

#include <array>
#include <climits>
#include <cmath>
#include <cstdint>
#include <limits>

namespace {

using noisepp::LatticeAxis;

using Noise3 = float (*)(float, float, float, int);
using Weight = float (*)(float);

struct Quality {
    const char* name;
    Noise3 noise;
    Weight weight;
};

const std::array<Quality, 3> qualities = {{{"std", noisepp::gradient_noise3_std, noisepp::interp_cubic<float>},
                                           {"best", noisepp::gradient_noise3_best, noisepp::interp_quintic<float>},
                                           {"fast", noisepp::gradient_noise3_fast, noisepp::interp_linear<float>}}};

constexpr float nan = std::numeric_limits<float>::quiet_NaN();
constexpr float inf = std::numeric_limits<float>::infinity();

TEST(InterpolationWeights, MatchTheirPolynomials)
{
    struct Case {
        float t, linear, cubic, quintic;
    };
    const std::array<Case, 5> cases = {{{0.0f, 0.0f, 0.0f, 0.0f},
                                        {0.25f, 0.25f, 0.15625f, 0.103515625f},
                                        {0.5f, 0.5f, 0.5f, 0.5f},
                                        {0.75f, 0.75f, 0.84375f, 0.896484375f},
                                        {1.0f, 1.0f, 1.0f, 1.0f}}};
    for (const Case& c : cases) {
        EXPECT_EQ(noisepp::interp_linear(c.t), c.linear) << c.t;
        EXPECT_EQ(noisepp::interp_cubic(c.t), c.cubic) << c.t;
        EXPECT_EQ(noisepp::interp_quintic(c.t), c.quintic) << c.t;
    }
}

TEST(LatticeAxis, CornersAndOffsets)
{
    struct Case {
        float v;
        std::uint32_t i0;
        float d0, d1;
    };
    const std::array<Case, 9> cases = {{
        {2.5f, 2u, 0.5f, -0.5f},
        {1.0f, 1u, 0.0f, -1.0f},
        {0.0f, 0xffffffffu, 1.0f, 0.0f},  // zero belongs to cell -1
        {-0.25f, 0xffffffffu, 0.75f, -0.25f},
        {-1.0f, 0xfffffffeu, 1.0f, 0.0f},  // so does every non-positive whole number to the cell below it
        // Floats this large are 128 or more apart, so both corners sit at the point itself.
        {1073741824.0f, 0x40000000u, 0.0f, 0.0f},
        {-1073741824.0f, 0xbfffffffu, 0.0f, 0.0f},
        {3.0e9f, 3000000000u, 0.0f, 0.0f},  // beyond int: the index wraps like the hash arithmetic
        {-3.0e9f, static_cast<std::uint32_t>(-3000000001LL), 0.0f, 0.0f},
    }};
    for (const Case& c : cases) {
        const LatticeAxis a = noisepp::lattice_axis(c.v);
        EXPECT_EQ(a.i0, c.i0) << c.v;
        EXPECT_EQ(a.i1, c.i0 + 1u) << c.v;
        EXPECT_EQ(a.d0, c.d0) << c.v;
        EXPECT_EQ(a.d1, c.d1) << c.v;
    }
}

TEST(LatticeAxis, HugeAndNonFiniteValuesStayDefined)
{
    const LatticeAxis huge = noisepp::lattice_axis(1.0e30f);
    EXPECT_EQ(huge.i0, 0u);
    EXPECT_EQ(huge.d0, 0.0f);
    EXPECT_EQ(noisepp::lattice_axis(-std::numeric_limits<float>::max()).i0, 0xffffffffu);
    EXPECT_TRUE(std::isnan(noisepp::lattice_axis(nan).d0));
    EXPECT_TRUE(std::isnan(noisepp::lattice_axis(inf).d0));
    EXPECT_TRUE(std::isnan(noisepp::lattice_axis(-inf).d1));
}

TEST(GradientNoise3, EachQualityBlendsWithItsWeights)
{
    const std::array<std::array<float, 3>, 4> points = {
        {{0.3f, 0.7f, 0.1f}, {-2.6f, 5.25f, -0.5f}, {10.9f, -7.2f, 3.3f}, {-0.1f, -0.9f, 100.4f}}};
    for (const Quality& q : qualities) {
        for (const auto& p : points) {
            const LatticeAxis ax = noisepp::lattice_axis(p[0]);
            const LatticeAxis ay = noisepp::lattice_axis(p[1]);
            const LatticeAxis az = noisepp::lattice_axis(p[2]);
            EXPECT_EQ(q.noise(p[0], p[1], p[2], 9),
                      noisepp::gradient_noise3(ax, ay, az, q.weight(ax.d0), q.weight(ay.d0), q.weight(az.d0), 9))
                << q.name;
        }
    }
}

TEST(GradientNoise3, IsZeroAtLatticePoints)
{
    const std::array<float, 7> coords = {0.0f, 1.0f, -1.0f, 17.0f, -256.0f, 1073741824.0f, -1073741824.0f};
    const std::array<int, 4> seeds = {0, 7, INT_MAX, INT_MIN};
    for (const Quality& q : qualities) {
        for (const int seed : seeds) {
            for (const float x : coords) {
                for (const float y : coords) {
                    EXPECT_EQ(q.noise(x, y, coords[(static_cast<unsigned>(seed) + 3u) % coords.size()], seed), 0.0f)
                        << q.name << " " << x << " " << y << " seed " << seed;
                }
            }
        }
    }
}

TEST(GradientNoise3, IsContinuousBoundedAndSeeded)
{
    for (const Quality& q : qualities) {
        bool seeds_differ = false;
        for (int i = -40; i < 40; ++i) {
            const float y = 0.37f * static_cast<float>(i);
            const float z = 0.11f * static_cast<float>(i) + 0.5f;
            for (const float edge : {-3.0f, 0.0f, 1.0f, 42.0f}) {
                const float below = q.noise(edge - 1e-3f, y, z, 5);
                const float above = q.noise(edge + 1e-3f, y, z, 5);
                EXPECT_NEAR(below, above, 0.03f) << q.name << " edge " << edge << " y " << y;
                EXPECT_LT(std::fabs(below), 3.7f) << q.name;
            }
            seeds_differ = seeds_differ || q.noise(0.5f, y, z, 1) != q.noise(0.5f, y, z, 2);
        }
        EXPECT_TRUE(seeds_differ) << q.name;
    }
}

TEST(GradientNoise3, BadCoordinatesGiveNanOrFiniteValues)
{
    for (const Quality& q : qualities) {
        EXPECT_TRUE(std::isnan(q.noise(nan, 0.5f, 0.5f, 0))) << q.name;
        EXPECT_TRUE(std::isnan(q.noise(0.5f, inf, 0.5f, 0))) << q.name;
        EXPECT_TRUE(std::isnan(q.noise(0.5f, 0.5f, -inf, INT_MIN))) << q.name;
        EXPECT_TRUE(std::isfinite(q.noise(3.0e9f, -1.0e20f, std::numeric_limits<float>::max(), INT_MAX))) << q.name;
        EXPECT_TRUE(std::isfinite(q.noise(-2147483648.5f, 2147483520.0f, 0.25f, INT_MIN))) << q.name;
    }
}

}  // namespace
