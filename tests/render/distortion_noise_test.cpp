#include "plugin/render/distortion/noise_distortion.h"

#include "plugin/noise/ridged_multi_element.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

using kyrox::DistortionNoise;
using kyrox::DistortionSettings;
using kyrox::NoisePoint;

DistortionSettings settings_of(int type, int complexity = 3, int seed = 5)
{
    DistortionSettings s;
    s.distortion_type = static_cast<kyrox::DistortionType>(type);
    s.noise_complexity = complexity;
    s.distortion_seed = seed;
    return s;
}

constexpr NoisePoint p1{1.3f, -2.7f, 0.4f, 0.0f};
constexpr NoisePoint p2{-17.1f, 40.2f, 3.9f, 0.0f};

TEST(DistortionNoise, SmokeIsTheFractalSumAndBuildsNoRidgedElement)
{
    DistortionNoise noise(settings_of(1));
    EXPECT_FALSE(noise.has_ridged_element());
    const kyrox::NoiseCell v = noise.at(p1, p2);
    EXPECT_EQ(v.x, kyrox::fractal_noise2(p1, 3));
    EXPECT_EQ(v.y, kyrox::fractal_noise2(p2, 3));
}

TEST(DistortionNoise, EnergyIsTheRidgedElementOfTheSeedAndComplexity)
{
    const noisepp::RidgedMultiElement3D reference(3, 1.0f, 2.0f, 1.0f, 1.0f, 2.0f, 5, 1);
    DistortionNoise noise(settings_of(3));
    EXPECT_TRUE(noise.has_ridged_element());
    const kyrox::NoiseCell v = noise.at(p1, p2);
    EXPECT_EQ(v.x, reference.value(p1.x, p1.y, p1.z, nullptr));
    EXPECT_EQ(v.y, reference.value(p2.x, p2.y, p2.z, nullptr));
}

TEST(DistortionNoise, FluidWarpsTheRidgedNoiseByTheFractalSum)
{
    const noisepp::RidgedMultiElement3D reference(3, 1.0f, 2.0f, 1.0f, 1.0f, 2.0f, 5, 1);
    const float wx = kyrox::fractal_noise2(p1, 3);
    const float wy = kyrox::fractal_noise2(p2, 3);
    DistortionNoise noise(settings_of(2));
    const kyrox::NoiseCell v = noise.at(p1, p2);
    EXPECT_EQ(v.x, reference.value(p1.x + wx, p1.y + wy, p1.z, nullptr));
    EXPECT_EQ(v.y, reference.value(p2.x + wx, p2.y + wy, p2.z, nullptr));
}

TEST(DistortionNoise, UnknownTypesBehaveAsEnergy)
{
    for (const int type : {0, 4, -1, 1000}) {
        DistortionNoise unknown(settings_of(type));
        DistortionNoise energy(settings_of(3));
        const kyrox::NoiseCell a = unknown.at(p1, p2);
        const kyrox::NoiseCell b = energy.at(p1, p2);
        EXPECT_EQ(a.x, b.x) << type;
        EXPECT_EQ(a.y, b.y) << type;
    }
}

struct ShapeCase {
    float v, bias;
    bool invert;
    float expected;
};

TEST(DistortionNoise, BiasBendsTheMagnitudeAndKeepsTheSign)
{
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const ShapeCase cases[] = {
        {-0.5f, 2.0f, false, -0.25f}, {0.5f, 2.0f, false, 0.25f}, {-0.5f, 1.0f, false, -0.5f},
        {-0.5f, nan, false, -0.5f},   {0.25f, 0.5f, false, 0.5f}, {-0.5f, 2.0f, true, 0.25f},
        {0.7f, 1.0f, true, -0.7f},    {0.0f, 2.0f, false, 0.0f},
    };
    for (const ShapeCase& c : cases) {
        EXPECT_FLOAT_EQ(kyrox::shape_noise_channel(c.v, c.bias, c.invert), c.expected)
            << c.v << " bias " << c.bias << " invert " << c.invert;
    }
}

}  // namespace
