#include "plugin/noise/flicker_noise.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <limits>

namespace {

using kyrox::flicker_noise;
using kyrox::perlin_noise1;

TEST(PerlinNoise1, IsZeroAtIntegers)
{
    for (int i = -300; i <= 600; ++i) {
        EXPECT_EQ(perlin_noise1(static_cast<float>(i)), 0.0f) << i;
        EXPECT_EQ(flicker_noise(static_cast<float>(i)), 0.0f) << i;
    }
}

TEST(PerlinNoise1, HandComputedValues)
{
    // p[0] = 151 is odd and p[1] = 160 even; p[255] = 180 is even and p[256] repeats p[0].
    // fade(0.25) = 0.103515625, fade(0.75) = 0.896484375.
    struct Case {
        float x, expected;
    };
    const std::array<Case, 5> cases = {{
        {0.5f, -0.5f},
        {0.25f, -0.3017578125f},   // -0.25 + fade(0.25) x (-0.75 - -0.25)
        {255.25f, 0.3017578125f},  // 0.25 + fade(0.25) x (0.75 - 0.25), reading p[255] and p[256]
        {255.5f, 0.5f},
        {-0.25f, 0.3017578125f},  // cell 255 at fraction 0.75: 0.75 + fade(0.75) x (0.25 - 0.75)
    }};
    for (const Case& c : cases) {
        EXPECT_EQ(perlin_noise1(c.x), c.expected) << c.x;
    }
    EXPECT_EQ(perlin_noise1(-0.25f), perlin_noise1(255.75f));
}

TEST(FlickerNoise, AddsAHalfStrengthOctaveAtDoubleRate)
{
    EXPECT_EQ(flicker_noise(0.25f), -0.3017578125f + 0.5f * -0.5f);
    EXPECT_EQ(flicker_noise(127.75f), perlin_noise1(127.75f) + 0.5f * perlin_noise1(255.5f));
}

TEST(FlickerNoise, BadInputGivesNanOrZero)
{
    const float inf = std::numeric_limits<float>::infinity();
    EXPECT_TRUE(std::isnan(perlin_noise1(std::numeric_limits<float>::quiet_NaN())));
    EXPECT_TRUE(std::isnan(flicker_noise(inf)));
    EXPECT_TRUE(std::isnan(flicker_noise(-inf)));
    for (const float whole : {3.0e9f, -3.0e9f, 1.0e30f}) {
        EXPECT_EQ(flicker_noise(whole), 0.0f) << whole;
    }
    EXPECT_EQ(perlin_noise1(std::numeric_limits<float>::max()), 0.0f);
    EXPECT_TRUE(std::isnan(flicker_noise(std::numeric_limits<float>::max())));  // its double rate overflows
}

}  // namespace
