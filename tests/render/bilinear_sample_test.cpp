#include "plugin/render/distortion/bilinear_sample.h"
#include "plugin/render/distortion/bilinear_sample4.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <iterator>
#include <limits>
#include <vector>

namespace {

using kyrox::WorldView;

// A plane of width x height floats holding 10 x row + column, with a padded row stride.
struct TestPlane {
    TestPlane(int width, int height, int channels = 1)
        : stride(width * channels + 3), cells(static_cast<std::size_t>(stride * height), -99.0f)
    {
        view.width = width;
        view.height = height;
        view.bytes_per_channel = 4;
        view.row_bytes = stride * static_cast<int>(sizeof(float));
        view.data = cells.data();
        for (int r = 0; r < height; ++r) {
            for (int c = 0; c < width; ++c) {
                for (int k = 0; k < channels; ++k) {
                    cells[static_cast<std::size_t>(r * stride + c * channels + k)] =
                        static_cast<float>(10 * r + c + 100 * k);
                }
            }
        }
    }
    int stride;
    std::vector<float> cells;
    WorldView view;
};

TEST(SampleBilinear, IntegerPositionsReturnTheCell)
{
    const TestPlane plane(5, 4);
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 5; ++c) {
            EXPECT_EQ(kyrox::sample_bilinear1(plane.view, static_cast<float>(c), static_cast<float>(r)),
                      static_cast<float>(10 * r + c));
        }
    }
}

TEST(SampleBilinear, BlendsTheFourNeighbours)
{
    const TestPlane plane(5, 4);
    EXPECT_FLOAT_EQ(kyrox::sample_bilinear1(plane.view, 1.25f, 2.5f), 26.25f);
    EXPECT_FLOAT_EQ(kyrox::sample_bilinear1(plane.view, 3.75f, 0.25f), 6.25f);
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
        EXPECT_FLOAT_EQ(kyrox::sample_bilinear1(plane.view, c.x, c.y), c.expected) << c.x << ", " << c.y;
    }
    // A position that is not a number stays one, but reads only cells inside the plane.
    EXPECT_TRUE(std::isnan(kyrox::sample_bilinear1(plane.view, nan, 1.0f)));
    EXPECT_TRUE(std::isnan(kyrox::sample_bilinear1(plane.view, -inf, inf)));
}

TEST(SampleBilinear, OneCellPlaneAnswersEverywhere)
{
    const TestPlane plane(1, 1);
    EXPECT_EQ(kyrox::sample_bilinear1(plane.view, 0.3f, 0.7f), 0.0f);
    EXPECT_EQ(kyrox::sample_bilinear1(plane.view, -5.0f, 9.0f), 0.0f);
}

TEST(SampleBilinear, TwoChannelCellsBlendEachChannel)
{
    const TestPlane noise(3, 2, 2);
    const kyrox::NoiseCell v = kyrox::sample_bilinear(noise.view, 0.5f, 0.5f);
    EXPECT_FLOAT_EQ(v.x, 5.5f);
    EXPECT_FLOAT_EQ(v.y, 105.5f);
    const kyrox::NoiseCell edge = kyrox::sample_bilinear(noise.view, 9.0f, 9.0f);
    EXPECT_EQ(edge.x, 12.0f);
    EXPECT_EQ(edge.y, 112.0f);
}

#ifdef KYROX_SSE2
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
            _mm_store_ps(plain, kyrox::simd::bilinear4(plane.view, x4, _mm_set1_ps(y)));
            __m128 first;
            __m128 second;
            kyrox::simd::bilinear4_along(kyrox::bilinear_rows<2>(noise.view, y), noise.view.width, x4, first, second);
            alignas(16) float noise_x[4];
            alignas(16) float noise_y[4];
            _mm_store_ps(noise_x, first);
            _mm_store_ps(noise_y, second);
            for (std::size_t l = 0; l < 4; ++l) {
                const float x = xs[i + l];
                EXPECT_EQ(std::bit_cast<std::uint32_t>(plain[l]),
                          std::bit_cast<std::uint32_t>(kyrox::sample_bilinear1(plane.view, x, y)))
                    << x << ", " << y;
                const kyrox::NoiseCell one = kyrox::sample_bilinear(noise.view, x, y);
                EXPECT_EQ(std::bit_cast<std::uint32_t>(noise_x[l]), std::bit_cast<std::uint32_t>(one.x)) << x << ", " << y;
                EXPECT_EQ(std::bit_cast<std::uint32_t>(noise_y[l]), std::bit_cast<std::uint32_t>(one.y)) << x << ", " << y;
            }
        }
    }
}
#endif

}  // namespace
