#include "plugin/render/distortion/bilinear_sample.h"
#include "plugin/render/distortion/bilinear_sample_avx2.h"
#include "plugin/render/distortion/bilinear_sample_avx512.h"
#include "plugin/render/distortion/bilinear_sample_wide.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <iterator>
#include <limits>
#include <vector>

#include "plugin/platform/simd/simd_path.h"

namespace {

using kyrox::ConstNoiseView;
using kyrox::ConstPlaneView;

// A plane of width x height cells of one or two floats holding 10 x row + column (plus 100 in the
// second), with a padded row stride.
struct TestPlane {
    TestPlane(int width, int height, int channels = 1)
        : size{width, height}, stride((width + 3) * channels), cells(static_cast<std::size_t>(stride * height), -99.0f)
    {
        for (int r = 0; r < height; ++r) {
            for (int c = 0; c < width; ++c) {
                for (int k = 0; k < channels; ++k) {
                    cells[static_cast<std::size_t>(r * stride + c * channels + k)] =
                        static_cast<float>(10 * r + c + 100 * k);
                }
            }
        }
    }
    // The cells as a one-channel plane or as a noise plane.
    ConstPlaneView plane() const { return {cells.data(), size[0], size[1], stride}; }
    ConstNoiseView noise() const
    {
        return {reinterpret_cast<const kyrox::NoiseCell*>(cells.data()), size[0], size[1], stride / 2};
    }
    std::array<int, 2> size;
    int stride;
    std::vector<float> cells;
};

TEST(SampleBilinear, IntegerPositionsReturnTheCell)
{
    const TestPlane plane(5, 4);
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 5; ++c) {
            EXPECT_EQ(kyrox::sample_bilinear1(plane.plane(), static_cast<float>(c), static_cast<float>(r)),
                      static_cast<float>(10 * r + c));
        }
    }
}

TEST(SampleBilinear, BlendsTheFourNeighbours)
{
    const TestPlane plane(5, 4);
    EXPECT_FLOAT_EQ(kyrox::sample_bilinear1(plane.plane(), 1.25f, 2.5f), 26.25f);
    EXPECT_FLOAT_EQ(kyrox::sample_bilinear1(plane.plane(), 3.75f, 0.25f), 6.25f);
}

struct EdgeCase {
    float x, y, expected;
};

TEST(SampleBilinear, PositionsOutsideReadTheClampedEdge)
{
    const TestPlane plane(5, 4);
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    const EdgeCase cases[] = {
        {-7.0f, -3.0f, 0.0f},
        {40.0f, 2.0f, 24.0f},
        {2.0f, 1e9f, 32.0f},
        {1e30f, -1e30f, 4.0f},
        {4.5f, 3.0f, 34.0f},
        {-2.0f, 1.0f, 10.0f},
        // x = -0.5 floors to -1: the cells taken are columns 0 and 1, each with weight 0.5.
        {-0.5f, 0.0f, 0.5f},
    };
    for (const EdgeCase& c : cases) {
        EXPECT_FLOAT_EQ(kyrox::sample_bilinear1(plane.plane(), c.x, c.y), c.expected) << c.x << ", " << c.y;
    }
    // A position that is not a number stays one, but reads only cells inside the plane.
    EXPECT_TRUE(std::isnan(kyrox::sample_bilinear1(plane.plane(), nan, 1.0f)));
    EXPECT_TRUE(std::isnan(kyrox::sample_bilinear1(plane.plane(), -inf, inf)));
}

TEST(SampleBilinear, OneCellPlaneAnswersEverywhere)
{
    const TestPlane plane(1, 1);
    EXPECT_EQ(kyrox::sample_bilinear1(plane.plane(), 0.3f, 0.7f), 0.0f);
    EXPECT_EQ(kyrox::sample_bilinear1(plane.plane(), -5.0f, 9.0f), 0.0f);
}

TEST(SampleBilinear, TwoChannelCellsBlendEachChannel)
{
    const TestPlane noise(3, 2, 2);
    const kyrox::NoiseCell v = kyrox::sample_bilinear(noise.noise(), 0.5f, 0.5f);
    EXPECT_FLOAT_EQ(v.x, 5.5f);
    EXPECT_FLOAT_EQ(v.y, 105.5f);
    const kyrox::NoiseCell edge = kyrox::sample_bilinear(noise.noise(), 9.0f, 9.0f);
    EXPECT_EQ(edge.x, 12.0f);
    EXPECT_EQ(edge.y, 112.0f);
}

// The four-at-once reads the distortion uses must give the bits of the one-at-a-time reads, at
// fractional, whole, negative and far-outside positions alike.
TEST(SampleBilinear, FourAtOnceMatchesOneAtATime)
{
    const TestPlane plane(5, 4);
    const TestPlane noise(3, 2, 2);
    const float xs[] = {-7.25f, -0.5f, -0.0f, 0.0f, 0.3f, 1.0f, 2.75f, 4.0f, 4.5f, 9.9f, 1e6f, -1e6f};
    const float ys[] = {-2.5f, -0.0f, 0.5f, 1.0f, 3.0f, 3.75f, 40.0f, -1e5f};
    for (const float y : ys) {
        for (std::size_t i = 0; i + 4 <= std::size(xs); ++i) {
            const __m128 x4 = _mm_loadu_ps(xs + i);
            alignas(16) float plain[4];
            _mm_store_ps(plain, kyrox::simd::bilinear4(plane.plane(), x4, _mm_set1_ps(y)));
            __m128 first;
            __m128 second;
            kyrox::simd::bilinear4_along(kyrox::bilinear_rows(noise.noise(), y), noise.noise().width, x4, first,
                                         second);
            alignas(16) float noise_x[4];
            alignas(16) float noise_y[4];
            _mm_store_ps(noise_x, first);
            _mm_store_ps(noise_y, second);
            for (std::size_t l = 0; l < 4; ++l) {
                const float x = xs[i + l];
                EXPECT_EQ(std::bit_cast<std::uint32_t>(plain[l]),
                          std::bit_cast<std::uint32_t>(kyrox::sample_bilinear1(plane.plane(), x, y)))
                    << x << ", " << y;
                const kyrox::NoiseCell one = kyrox::sample_bilinear(noise.noise(), x, y);
                EXPECT_EQ(std::bit_cast<std::uint32_t>(noise_x[l]), std::bit_cast<std::uint32_t>(one.x))
                    << x << ", " << y;
                EXPECT_EQ(std::bit_cast<std::uint32_t>(noise_y[l]), std::bit_cast<std::uint32_t>(one.y))
                    << x << ", " << y;
            }
        }
    }
}

template <std::size_t N>
using Lanes = std::array<float, N>;

// The wide functions run only inside their own path's code; these carry their lanes through arrays,
// one overload for each width.

template <class V>
KYROX_LANES Lanes<V::size> plane_reads_of(ConstPlaneView plane, const Lanes<V::size>& x, const Lanes<V::size>& y)
{
    Lanes<V::size> out{};
    kyrox::simd::bilinear(plane, V::load(x.data()), V::load(y.data())).store(out.data());
    return out;
}

template <class V>
KYROX_LANES std::array<Lanes<V::size>, 2> noise_reads_of(ConstNoiseView noise, float y, const Lanes<V::size>& x)
{
    const kyrox::simd::TwoChannels<V> n =
        kyrox::simd::bilinear_along(kyrox::bilinear_rows(noise, y), noise.width, V::load(x.data()));
    std::array<Lanes<V::size>, 2> out{};
    n.first.store(out[0].data());
    n.second.store(out[1].data());
    return out;
}

KYROX_AVX2_TARGET Lanes<8> plane_reads(ConstPlaneView plane, const Lanes<8>& x, const Lanes<8>& y)
{
    return plane_reads_of<kyrox::simd::F32x8>(plane, x, y);
}

KYROX_AVX512_TARGET Lanes<16> plane_reads(ConstPlaneView plane, const Lanes<16>& x, const Lanes<16>& y)
{
    return plane_reads_of<kyrox::simd::F32x16>(plane, x, y);
}

KYROX_AVX2_TARGET std::array<Lanes<8>, 2> noise_reads(ConstNoiseView noise, float y, const Lanes<8>& x)
{
    return noise_reads_of<kyrox::simd::F32x8>(noise, y, x);
}

KYROX_AVX512_TARGET std::array<Lanes<16>, 2> noise_reads(ConstNoiseView noise, float y, const Lanes<16>& x)
{
    return noise_reads_of<kyrox::simd::F32x16>(noise, y, x);
}

KYROX_AVX2_TARGET Lanes<8> floored(const Lanes<8>& v)
{
    Lanes<8> out{};
    _mm256_storeu_ps(out.data(), kyrox::simd::floor_lanes<kyrox::simd::F32x8>(_mm256_loadu_ps(v.data())));
    return out;
}

KYROX_AVX512_TARGET Lanes<16> floored(const Lanes<16>& v)
{
    Lanes<16> out{};
    _mm512_storeu_ps(out.data(), kyrox::simd::floor_lanes<kyrox::simd::F32x16>(_mm512_loadu_ps(v.data())));
    return out;
}

KYROX_AVX2_TARGET bool safe(const Lanes<8>& v)
{
    return kyrox::simd::safe_positions(_mm256_loadu_ps(v.data()));
}

KYROX_AVX512_TARGET bool safe(const Lanes<16>& v)
{
    return kyrox::simd::safe_positions(kyrox::simd::F32x16(_mm512_loadu_ps(v.data())));
}

// The path each width's reads need.
template <std::size_t N>
constexpr kyrox::simd::SimdPath path_of = N == 8 ? kyrox::simd::SimdPath::avx2 : kyrox::simd::SimdPath::avx512;

#define SKIP_WITHOUT_LANES(N)                                                                                          \
    if (kyrox::simd::widest_path() < path_of<N>) {                                                                     \
        GTEST_SKIP() << "no " << kyrox::simd::simd_path_name(path_of<N>) << " here";                                   \
    }

std::uint32_t bits(float v)
{
    return std::bit_cast<std::uint32_t>(v);
}

// Positions on and either side of cell edges, whole, negative, -0 and far outside, in rising order.
const std::vector<float>& rising_positions()
{
    static const std::vector<float> xs = [] {
        std::vector<float> v = {-1e6f, -40.0f, -7.25f, -2.0f, -1.5f, -1.0f, -0.75f,  -0.5f, -0.25f, -0.0f, 0.0f,  0.25f,
                                0.5f,  0.999f, 1.0f,   1.5f,  2.75f, 3.0f,  3.4999f, 3.5f,  4.0f,   4.5f,  5.25f, 6.0f,
                                6.5f,  7.0f,   7.5f,   8.0f,  9.9f,  10.5f, 11.0f,   11.5f, 12.0f,  30.0f, 1e6f};
        for (int k = 0; k < 26; ++k) {
            v.push_back(0.5f * static_cast<float>(k) - 1.25f);  // neighbouring pixels' spacing
        }
        std::ranges::sort(v, [](float a, float b) { return a < b || (a == b && std::signbit(a) && !std::signbit(b)); });
        return v;
    }();
    return xs;
}

template <std::size_t N>
void expect_floor_and_safety_match()
{
    SKIP_WITHOUT_LANES(N);
    const Lanes<16> all = {-2.5f,          -2.0f,       -0.0f, 0.0f, 0.7f,   3.0f,       -1e6f + 0.5f, 1073741760.0f,
                           -1073741760.0f, 0.99999994f, -0.5f, 0.5f, -7.75f, 8388607.5f, -8388607.5f,  16777216.0f};
    Lanes<N> v{};
    std::copy_n(all.begin(), N, v.begin());
    const Lanes<N> down = floored(v);
    for (std::size_t l = 0; l < N; ++l) {
        EXPECT_EQ(bits(down[l]), bits(kyrox::noise_floor(v[l]))) << v[l];
    }
    EXPECT_TRUE(safe(v));
    const float nan = std::numeric_limits<float>::quiet_NaN();
    for (const float bad : {1073741824.0f, -1073741824.0f, nan, std::numeric_limits<float>::infinity(), 3e9f}) {
        for (const std::size_t lane : {std::size_t{0}, std::size_t{5}, N - 1}) {
            Lanes<N> w = v;
            w[lane] = bad;
            EXPECT_FALSE(safe(w)) << bad << " in lane " << lane;
        }
    }
}

// Noise rows read N neighbouring positions at once: from loads of a window of each row where the
// plane is as wide as the window, by gathers where it is narrower; every lane must give the
// one-at-a-time bits.
template <std::size_t N>
void expect_noise_reads_match()
{
    SKIP_WITHOUT_LANES(N);
    const std::vector<float>& xs = rising_positions();
    for (const int width : {1, 3, 7, 8, 9, 12, 15, 16, 17, 24}) {
        const TestPlane noise(width, 3, 2);
        for (const float y : {-1.5f, -0.0f, 0.25f, 1.0f, 2.5f, 9.0f}) {
            for (std::size_t i = 0; i + N <= xs.size(); ++i) {
                Lanes<N> x{};
                std::copy_n(xs.begin() + static_cast<std::ptrdiff_t>(i), N, x.begin());
                const std::array<Lanes<N>, 2> wide = noise_reads(noise.noise(), y, x);
                for (std::size_t l = 0; l < N; ++l) {
                    const kyrox::NoiseCell one = kyrox::sample_bilinear(noise.noise(), x[l], y);
                    EXPECT_EQ(bits(wide[0][l]), bits(one.x)) << width << ": " << x[l] << ", " << y;
                    EXPECT_EQ(bits(wide[1][l]), bits(one.y)) << width << ": " << x[l] << ", " << y;
                }
            }
        }
    }
}

template <std::size_t N>
void expect_plane_reads_match()
{
    SKIP_WITHOUT_LANES(N);
    const std::vector<float>& xs = rising_positions();
    for (const int width : {2, 3, 9, 13}) {
        for (const int height : {1, 2, 5}) {
            const TestPlane plane(width, height);
            ASSERT_TRUE(kyrox::simd::gather_fits(plane.plane()));
            // Lanes in no order: each reads its own row and column pair.
            for (std::size_t i = 0; i + N <= xs.size(); ++i) {
                Lanes<N> x{};
                Lanes<N> y{};
                for (std::size_t l = 0; l < N; ++l) {
                    x[l] = xs[(i + 5 * l) % xs.size()];
                    y[l] = xs[(i * 7 + 3 * l + 11) % xs.size()];
                }
                const Lanes<N> wide = plane_reads(plane.plane(), x, y);
                for (std::size_t l = 0; l < N; ++l) {
                    EXPECT_EQ(bits(wide[l]), bits(kyrox::sample_bilinear1(plane.plane(), x[l], y[l])))
                        << width << "x" << height << ": " << x[l] << ", " << y[l];
                }
            }
        }
    }
}

TEST(SampleBilinear8, FloorAndSafetyMatchTheOneLaneForms)
{
    expect_floor_and_safety_match<8>();
}

TEST(SampleBilinear8, NoiseReadsMatchOneAtATime)
{
    expect_noise_reads_match<8>();
}

TEST(SampleBilinear8, PlaneReadsMatchOneAtATime)
{
    expect_plane_reads_match<8>();
}

TEST(SampleBilinear16, FloorAndSafetyMatchTheOneLaneForms)
{
    expect_floor_and_safety_match<16>();
}

TEST(SampleBilinear16, NoiseReadsMatchOneAtATime)
{
    expect_noise_reads_match<16>();
}

TEST(SampleBilinear16, PlaneReadsMatchOneAtATime)
{
    expect_plane_reads_match<16>();
}

TEST(SampleBilinear8, GathersTakeOnlyPlanesTheirOffsetsReach)
{
    struct Case {
        int width, height;
        std::ptrdiff_t stride;
        bool fits;
    };
    for (const Case c : {Case{2, 1, 2, true}, Case{1, 4, 1, false}, Case{5, 3, 0, false}, Case{5, 3, -5, false},
                         Case{5, 0, 5, false}, Case{1920, 1080, 1920, true}, Case{8, 65537, 32768, false},
                         Case{8, 65536, 32768, true}, Case{8, 2, std::ptrdiff_t{1} << 31, false}}) {
        const ConstPlaneView view{nullptr, c.width, c.height, c.stride};
        EXPECT_EQ(kyrox::simd::gather_fits(view), c.fits) << c.width << "x" << c.height << ", " << c.stride;
    }
}

}  // namespace
