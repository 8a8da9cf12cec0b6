// The four-, eight- and sixteen-at-once noise must give the very bits the one-point noise gives, lane
// by lane, and must decline (so that callers take the points one at a time) where its arithmetic would
// not match. The eight- and sixteen-lane functions run where the machine has AVX2 or AVX-512 (and
// KYROX_SIMD leaves them) and report themselves skipped elsewhere.
#include <gtest/gtest.h>

#include <array>
#include <bit>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <random>
#include <string>
#include <type_traits>
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

// Every lane of the ridged value of the points against the one-point value, bit for bit.
template <std::size_t N>
void expect_ridged_lanes_match(const noisepp::RidgedMultiElement3D& element, const std::array<NoisePoint, N>& points)
{
    std::array<float, N> lanes{};
    ASSERT_TRUE(ridged_lanes(element, points, lanes));
    const std::size_t octaves = element.octaves().size();
    for (std::size_t l = 0; l < N; ++l) {
        EXPECT_EQ(std::bit_cast<std::uint32_t>(lanes[l]),
                  std::bit_cast<std::uint32_t>(element.value(points[l].x, points[l].y, points[l].z, nullptr)))
            << "octaves " << octaves << ", seed " << (octaves > 0 ? element.octaves()[0].seed : 0) << ", point "
            << points[l].x << ", " << points[l].y << ", " << points[l].z;
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
            expect_ridged_lanes_match(element, points);
        }
    }
}

// A coordinate of the kind the renderer passes, within +-range: spread, whole, or just either side of a
// whole value, where the cell of floor and of truncation and the offsets' rounding differ.
float renderer_coordinate(std::mt19937& random, float range)
{
    const float v = std::uniform_real_distribution<float>(-range, range)(random);
    switch (random() % 5) {
    case 0:
        return std::round(v);
    case 1:
        return std::nextafter(std::round(v), -range);
    case 2:
        return std::nextafter(std::round(v), range);
    default:
        return v;
    }
}

// The renderer's ridged parameters at every octave count and a spread of seeds, about 100000 points in all.
template <std::size_t N>
void expect_ridged_values_match_at_random_points()
{
    constexpr std::size_t points_per_shape = 2400;
    std::mt19937 random(20655u);
    for (int octaves = 0; octaves <= 10; ++octaves) {
        for (const int seed : {0, -1, 20655, 0x7fffffff}) {
            const noisepp::RidgedMultiElement3D element(octaves, 1.0f, 2.0f, 1.0f, 1.0f, 2.0f, seed, 1);
            for (std::size_t k = 0; k < points_per_shape / N; ++k) {
                std::array<NoisePoint, N> points{};
                for (NoisePoint& p : points) {
                    p = {renderer_coordinate(random, 1e4f), renderer_coordinate(random, 1e4f),
                         renderer_coordinate(random, 600.0f), 0};
                }
                expect_ridged_lanes_match(element, points);
                // One report is enough: a fault would repeat at thousands of points.
                if (::testing::Test::HasFailure()) {
                    return;
                }
            }
        }
    }
}

// Other qualities, and one coordinate that is or becomes unsafe in a lane of its own: at the first lane,
// the last, and in the upper half. Nothing is written then.
template <std::size_t N>
void expect_ridged_values_decline()
{
    const float nan = std::numeric_limits<float>::quiet_NaN();
    struct Case {
        int quality;
        std::size_t lane;
        NoisePoint point;
    };
    const std::array<Case, 6> cases{{
        {2, 0, {0, 0, 0, 0}},
        {0, 0, {0, 0, 0, 0}},
        // The third octave scales 3e8 past 2^30, where the one-point value wraps the coordinate.
        {1, N - 1, {3e8f, 0, 0, 0}},
        // Exactly -2^30 there, where the wrap begins.
        {1, N / 2, {0, -0x1p28f, 0, 0}},
        {1, N / 2 + 1, {0, nan, 0, 0}},
        {1, 0, {0, 0, -3e9f, 0}},
    }};
    for (const Case& c : cases) {
        const noisepp::RidgedMultiElement3D element(3, 1.0f, 2.0f, 1.0f, 1.0f, 2.0f, 1, c.quality);
        std::array<NoisePoint, N> points{};
        points[c.lane] = c.point;
        std::array<float, N> untouched{};
        untouched.fill(7.0f);
        std::array<float, N> lanes = untouched;
        EXPECT_FALSE(ridged_lanes(element, points, lanes)) << "quality " << c.quality << ", lane " << c.lane;
        EXPECT_EQ(lanes, untouched) << "nothing is written when the points are declined";
    }
}

// Fractal sums at 200000 random points at 1 to 9 octaves: rows of neighbouring points a pixel's step
// apart, like the renderer's, among lone coordinates of every kind. Now and then one coordinate sits at
// the largest magnitude that stays safe through the last octave, or at the next float up, where the
// lanes must decline.
template <std::size_t N>
void expect_fractal_sums_match_at_random_points()
{
    constexpr std::size_t point_count = 200000;
    std::mt19937 random(7321u);
    std::uniform_real_distribution<float> step(-0.05f, 0.05f);
    const auto lone_point = [&] {
        return NoisePoint{renderer_coordinate(random, 1e4f), renderer_coordinate(random, 1e4f),
                          renderer_coordinate(random, 600.0f), 0};
    };
    for (std::size_t k = 0; k < point_count / N; ++k) {
        const int octaves = 1 + static_cast<int>(k % 9);
        const NoisePoint start = lone_point();
        const float dx = step(random);
        const float dy = step(random);
        std::array<NoisePoint, N> points{};
        for (std::size_t l = 0; l < N; ++l) {
            const float along = static_cast<float>(l);
            points[l] = random() % 4 == 0 ? lone_point()
                                          : NoisePoint{start.x + along * dx, start.y + along * dy, start.z, 0};
        }
        if (k % 16 == 0) {
            // 2^30 at the last octave, halved back to the first.
            const float limit = std::ldexp(1.0f, 31 - octaves);
            const float far = (k / 16) % 2 == 0 ? limit : std::nextafter(limit, 0.0f);
            NoisePoint& p = points[random() % N];
            (random() % 2 == 0 ? p.x : p.y) = random() % 2 == 0 ? far : -far;
        }
        bool unsafe = false;
        for (const NoisePoint& p : points) {
            const auto past_limit = [&](float v) { return !(std::ldexp(std::fabs(v), octaves - 1) < 0x1p30f); };
            unsafe = unsafe || past_limit(p.x) || past_limit(p.y) || !(std::fabs(p.z) < 0x1p30f);
        }
        std::array<float, N> lanes{};
        ASSERT_EQ(kyrox::fractal_noise2_lanes(points, octaves, lanes), !unsafe) << "octaves " << octaves;
        for (std::size_t l = 0; l < N && !unsafe; ++l) {
            ASSERT_EQ(std::bit_cast<std::uint32_t>(lanes[l]),
                      std::bit_cast<std::uint32_t>(kyrox::fractal_noise2(points[l], octaves)))
                << "octaves " << octaves << ", point " << points[l].x << ", " << points[l].y << ", " << points[l].z;
        }
    }
}

// The widths whose path the machine (and KYROX_SIMD) leaves: the four-lane forms run everywhere.
bool path_lacks(std::size_t lanes)
{
    using kyrox::simd::SimdPath;
    const SimdPath needed = lanes == 16 ? SimdPath::avx512 : lanes == 8 ? SimdPath::avx2 : SimdPath::sse2;
    return kyrox::simd::widest_path() < needed;
}

template <class Width>
class LaneNoiseAt : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (path_lacks(Width::value)) {
            GTEST_SKIP() << "the " << Width::value << "-lane path is not available here";
        }
    }
};

using Widths = ::testing::Types<std::integral_constant<std::size_t, 4>, std::integral_constant<std::size_t, 8>,
                                std::integral_constant<std::size_t, 16>>;

class WidthName {
public:
    template <class Width>
    static std::string GetName(int)
    {
        return std::to_string(Width::value) + "Lanes";
    }
};
TYPED_TEST_SUITE(LaneNoiseAt, Widths, WidthName);

TYPED_TEST(LaneNoiseAt, FractalSumsMatchOnePointAtATimeBitForBit)
{
    expect_fractal_sums_match<TypeParam::value>();
}

TYPED_TEST(LaneNoiseAt, FractalSumsDeclineOutsideTheSafeRange)
{
    expect_fractal_sums_decline<TypeParam::value>();
}

TYPED_TEST(LaneNoiseAt, FractalSumsMatchOnePointAtATimeAtRandomPoints)
{
    expect_fractal_sums_match_at_random_points<TypeParam::value>();
}

TYPED_TEST(LaneNoiseAt, RidgedValuesMatchOnePointAtATimeBitForBit)
{
    expect_ridged_values_match<TypeParam::value>();
}

TYPED_TEST(LaneNoiseAt, RidgedValuesMatchOnePointAtATimeAtRandomPoints)
{
    expect_ridged_values_match_at_random_points<TypeParam::value>();
}

TYPED_TEST(LaneNoiseAt, RidgedValuesDeclineOtherQualitiesAndWrappedCoordinates)
{
    expect_ridged_values_decline<TypeParam::value>();
}

}  // namespace
