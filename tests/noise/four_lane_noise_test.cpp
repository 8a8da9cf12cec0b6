// The four-at-once noise must give the very bits the one-point noise gives, lane by lane, and must
// decline (so that callers take the points one at a time) where its arithmetic would not match.
#include <gtest/gtest.h>

#include <array>
#include <bit>
#include <cstdint>
#include <limits>

#include "plugin/noise/improved_noise.h"
#include "plugin/noise/ridged_multi_element.h"

namespace {

using kyrox::NoisePoint;

// Points around the cases that differ between floor and truncation: negative, whole, -0, cell
// edges, far from the origin, and a spread of ordinary positions.
std::array<std::array<NoisePoint, 4>, 6> point_sets()
{
    return {{
        {{{0.0f, 0.0f, 0.0f, 0}, {-0.0f, 1.0f, -1.0f, 0}, {-3.0f, 2.0f, 255.0f, 0}, {256.0f, -256.0f, 0.5f, 0}}},
        {{{0.25f, 0.5f, 0.75f, 0}, {-0.25f, -0.5f, -0.75f, 0}, {1.999f, -1.001f, 3.5f, 0}, {7.1f, 8.2f, -9.3f, 0}}},
        {{{123.456f, -654.321f, 0.1f, 0}, {-499.9f, 499.9f, -250.0f, 0}, {1e5f, -1e5f, 3.25f, 0}, {0.001f, 1e-20f, 2.0f, 0}}},
        {{{2e5f, 3e5f, -4e5f, 0}, {-5e5f, 6e5f, 1.5f, 0}, {33.3f, 66.6f, 99.9f, 0}, {-0.999f, -1.0f, -1.5f, 0}}},
        {{{12.5f, 13.5f, 14.5f, 0}, {-12.5f, -13.5f, -14.5f, 0}, {400.75f, 300.25f, 0.0f, 0}, {-0.5f, 0.5f, -0.5f, 0}}},
        {{{3.3f, -4.4f, 5.5f, 0}, {6.6f, -7.7f, 8.8f, 0}, {-9.9f, 10.1f, -11.2f, 0}, {2.0f, 2.0f, 2.0f, 0}}},
    }};
}

TEST(FourLaneNoise, FractalSumsMatchOnePointAtATimeBitForBit)
{
    for (const int octaves : {-1, 0, 1, 4, 6, 9}) {
        for (const std::array<NoisePoint, 4>& points : point_sets()) {
            std::array<float, 4> four{};
            ASSERT_TRUE(kyrox::fractal_noise2_x4(points, octaves, four)) << octaves;
            for (std::size_t l = 0; l < 4; ++l) {
                EXPECT_EQ(std::bit_cast<std::uint32_t>(four[l]),
                          std::bit_cast<std::uint32_t>(kyrox::fractal_noise2(points[l], octaves)))
                    << "octaves " << octaves << ", point " << points[l].x << ", " << points[l].y << ", " << points[l].z;
            }
        }
    }
}

TEST(FourLaneNoise, FractalSumsDeclineOutsideTheSafeRange)
{
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const std::array<std::array<NoisePoint, 4>, 3> sets{{
        {{{0, 0, 0, 0}, {0, 0, 0, 0}, {0, 0, 0, 0}, {nan, 0, 0, 0}}},
        {{{0, 0, 3e9f, 0}, {0, 0, 0, 0}, {0, 0, 0, 0}, {0, 0, 0, 0}}},
        // Safe at first, but x doubles with each octave past 2^30.
        {{{6e8f, 0, 0, 0}, {0, 0, 0, 0}, {0, 0, 0, 0}, {0, 0, 0, 0}}},
    }};
    for (const auto& points : sets) {
        std::array<float, 4> four{7.0f, 7.0f, 7.0f, 7.0f};
        EXPECT_FALSE(kyrox::fractal_noise2_x4(points, 3, four));
        EXPECT_EQ(four[0], 7.0f) << "nothing is written when the points are declined";
    }
}

TEST(FourLaneNoise, RidgedValuesMatchOnePointAtATimeBitForBit)
{
    struct Shape {
        int octaves;
        int seed;
    };
    for (const Shape shape : {Shape{1, 0}, Shape{5, 20655}, Shape{8, 0x7fffffff}, Shape{0, 3}}) {
        const noisepp::RidgedMultiElement3D element(shape.octaves, 1.0f, 2.0f, 1.0f, 1.0f, 2.0f, shape.seed, 1);
        for (const std::array<NoisePoint, 4>& points : point_sets()) {
            std::array<float, 4> four{};
            ASSERT_TRUE(element.value4({points[0].x, points[1].x, points[2].x, points[3].x},
                                       {points[0].y, points[1].y, points[2].y, points[3].y},
                                       {points[0].z, points[1].z, points[2].z, points[3].z}, four));
            for (std::size_t l = 0; l < 4; ++l) {
                EXPECT_EQ(std::bit_cast<std::uint32_t>(four[l]),
                          std::bit_cast<std::uint32_t>(element.value(points[l].x, points[l].y, points[l].z, nullptr)))
                    << "octaves " << shape.octaves << ", point " << points[l].x << ", " << points[l].y << ", "
                    << points[l].z;
            }
        }
    }
}

TEST(FourLaneNoise, RidgedValuesDeclineOtherQualitiesAndWrappedCoordinates)
{
    const noisepp::RidgedMultiElement3D quintic(3, 1.0f, 2.0f, 1.0f, 1.0f, 2.0f, 1, 2);
    std::array<float, 4> four{};
    EXPECT_FALSE(quintic.value4({0, 1, 2, 3}, {0, 1, 2, 3}, {0, 1, 2, 3}, four));
    // The third octave scales 3e8 past 2^30, where the one-point value wraps the coordinate.
    const noisepp::RidgedMultiElement3D cubic(3, 1.0f, 2.0f, 1.0f, 1.0f, 2.0f, 1, 1);
    EXPECT_FALSE(cubic.value4({0, 1, 2, 3e8f}, {0, 1, 2, 3}, {0, 1, 2, 3}, four));
}

}  // namespace
