// The four- and eight-at-once noise must give the very bits the one-point noise gives, lane by lane,
// and must decline (so that callers take the points one at a time) where its arithmetic would not
// match. The eight-lane functions run where the processor has AVX2 and are skipped elsewhere.
#include <gtest/gtest.h>

#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <vector>

#include "plugin/noise/improved_noise.h"
#include "plugin/noise/ridged_multi_element.h"
#include "plugin/platform/simd/simd_path.h"

namespace {

using kyrox::NoisePoint;

// Points around the cases that differ between floor and truncation: negative, whole, -0, cell
// edges, denormals, far from the origin, and a spread of ordinary positions.
// clang-format off
constexpr std::array<NoisePoint, 28> sample_points{{
    {0.0f, 0.0f, 0.0f, 0}, {-0.0f, 1.0f, -1.0f, 0}, {-3.0f, 2.0f, 255.0f, 0}, {256.0f, -256.0f, 0.5f, 0},
    {0.25f, 0.5f, 0.75f, 0}, {-0.25f, -0.5f, -0.75f, 0}, {1.999f, -1.001f, 3.5f, 0}, {7.1f, 8.2f, -9.3f, 0},
    {123.456f, -654.321f, 0.1f, 0}, {-499.9f, 499.9f, -250.0f, 0}, {1e5f, -1e5f, 3.25f, 0}, {0.001f, 1e-20f, 2.0f, 0},
    {2e5f, 3e5f, -4e5f, 0}, {-5e5f, 6e5f, 1.5f, 0}, {33.3f, 66.6f, 99.9f, 0}, {-0.999f, -1.0f, -1.5f, 0},
    {12.5f, 13.5f, 14.5f, 0}, {-12.5f, -13.5f, -14.5f, 0}, {400.75f, 300.25f, 0.0f, 0}, {-0.5f, 0.5f, -0.5f, 0},
    {3.3f, -4.4f, 5.5f, 0}, {6.6f, -7.7f, 8.8f, 0}, {-9.9f, 10.1f, -11.2f, 0}, {2.0f, 2.0f, 2.0f, 0},
    {0.99999994f, -0.99999994f, 1e-45f, 0}, {-1e-45f, 255.99998f, -255.99998f, 0},
    {511.5f, -511.5f, 65535.99f, 0}, {-65536.5f, 1048575.9f, -0.0f, 0},
}};
// clang-format on

// The sample points in groups of N, wrapping round to fill the last group.
template <std::size_t N>
std::vector<std::array<NoisePoint, N>> point_sets()
{
    std::vector<std::array<NoisePoint, N>> sets((sample_points.size() + N - 1) / N);
    for (std::size_t k = 0; k < sets.size() * N; ++k) {
        sets[k / N][k % N] = sample_points[k % sample_points.size()];
    }
    return sets;
}

template <std::size_t N>
bool ridged_lanes(const noisepp::RidgedMultiElement3D& element, const std::array<NoisePoint, N>& points,
                  std::array<float, N>& out)
{
    std::array<float, N> x{};
    std::array<float, N> y{};
    std::array<float, N> z{};
    for (std::size_t l = 0; l < N; ++l) {
        x[l] = points[l].x;
        y[l] = points[l].y;
        z[l] = points[l].z;
    }
    return element.values(x, y, z, out);
}

template <std::size_t N>
void expect_fractal_sums_match()
{
    for (const int octaves : {-1, 0, 1, 4, 6, 9}) {
        for (const std::array<NoisePoint, N>& points : point_sets<N>()) {
            std::array<float, N> lanes{};
            ASSERT_TRUE(kyrox::fractal_noise2_lanes(points, octaves, lanes)) << octaves;
            for (std::size_t l = 0; l < N; ++l) {
                EXPECT_EQ(std::bit_cast<std::uint32_t>(lanes[l]),
                          std::bit_cast<std::uint32_t>(kyrox::fractal_noise2(points[l], octaves)))
                    << "octaves " << octaves << ", point " << points[l].x << ", " << points[l].y << ", " << points[l].z;
            }
        }
    }
}

// One point out of range in a lane of its own: at the first lane, the last, and in the upper half.
template <std::size_t N>
void expect_fractal_sums_decline()
{
    const float nan = std::numeric_limits<float>::quiet_NaN();
    struct Case {
        std::size_t lane;
        NoisePoint point;
    };
    const std::array<Case, 3> cases{{
        {N - 1, {nan, 0, 0, 0}},
        {0, {0, 0, 3e9f, 0}},
        // Safe at first, but x doubles with each octave past 2^30.
        {N / 2 + 1, {6e8f, 0, 0, 0}},
    }};
    for (const Case& c : cases) {
        std::array<NoisePoint, N> points{};
        points[c.lane] = c.point;
        std::array<float, N> lanes{};
        lanes.fill(7.0f);
        EXPECT_FALSE(kyrox::fractal_noise2_lanes(points, 3, lanes)) << "lane " << c.lane;
        EXPECT_EQ(lanes[0], 7.0f) << "nothing is written when the points are declined";
    }
}

template <std::size_t N>
void expect_ridged_values_match()
{
    struct Shape {
        int octaves;
        int seed;
    };
    for (const Shape shape : {Shape{1, 0}, Shape{5, 20655}, Shape{8, 0x7fffffff}, Shape{0, 3}}) {
        const noisepp::RidgedMultiElement3D element(shape.octaves, 1.0f, 2.0f, 1.0f, 1.0f, 2.0f, shape.seed, 1);
        for (const std::array<NoisePoint, N>& points : point_sets<N>()) {
            std::array<float, N> lanes{};
            ASSERT_TRUE(ridged_lanes(element, points, lanes));
            for (std::size_t l = 0; l < N; ++l) {
                EXPECT_EQ(std::bit_cast<std::uint32_t>(lanes[l]),
                          std::bit_cast<std::uint32_t>(element.value(points[l].x, points[l].y, points[l].z, nullptr)))
                    << "octaves " << shape.octaves << ", point " << points[l].x << ", " << points[l].y << ", "
                    << points[l].z;
            }
        }
    }
}

template <std::size_t N>
void expect_ridged_values_decline()
{
    const std::array<NoisePoint, N> points{};
    std::array<float, N> lanes{};
    const noisepp::RidgedMultiElement3D quintic(3, 1.0f, 2.0f, 1.0f, 1.0f, 2.0f, 1, 2);
    EXPECT_FALSE(ridged_lanes(quintic, points, lanes));
    // The third octave scales 3e8 past 2^30, where the one-point value wraps the coordinate.
    const noisepp::RidgedMultiElement3D cubic(3, 1.0f, 2.0f, 1.0f, 1.0f, 2.0f, 1, 1);
    std::array<NoisePoint, N> far = points;
    far[N - 1].x = 3e8f;
    EXPECT_FALSE(ridged_lanes(cubic, far, lanes));
}

bool skip_eight_lanes()
{
    return kyrox::simd::widest_path() < kyrox::simd::SimdPath::avx2;
}

TEST(FourLaneNoise, FractalSumsMatchOnePointAtATimeBitForBit)
{
    expect_fractal_sums_match<4>();
}
TEST(FourLaneNoise, FractalSumsDeclineOutsideTheSafeRange)
{
    expect_fractal_sums_decline<4>();
}
TEST(FourLaneNoise, RidgedValuesMatchOnePointAtATimeBitForBit)
{
    expect_ridged_values_match<4>();
}
TEST(FourLaneNoise, RidgedValuesDeclineOtherQualitiesAndWrappedCoordinates)
{
    expect_ridged_values_decline<4>();
}

TEST(EightLaneNoise, FractalSumsMatchOnePointAtATimeBitForBit)
{
    if (skip_eight_lanes()) {
        GTEST_SKIP() << "no AVX2";
    }
    expect_fractal_sums_match<8>();
}

TEST(EightLaneNoise, FractalSumsDeclineOutsideTheSafeRange)
{
    if (skip_eight_lanes()) {
        GTEST_SKIP() << "no AVX2";
    }
    expect_fractal_sums_decline<8>();
}

TEST(EightLaneNoise, RidgedValuesMatchOnePointAtATimeBitForBit)
{
    if (skip_eight_lanes()) {
        GTEST_SKIP() << "no AVX2";
    }
    expect_ridged_values_match<8>();
}

TEST(EightLaneNoise, RidgedValuesDeclineOtherQualitiesAndWrappedCoordinates)
{
    if (skip_eight_lanes()) {
        GTEST_SKIP() << "no AVX2";
    }
    expect_ridged_values_decline<8>();
}

}  // namespace
