#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <numbers>
#include <stdexcept>
#include <vector>

#include "plugin/render/blur/gauss_blur_kernels.h"
#include "plugin/render/worker_pool.h"
#include "tests/render/plane_fixture.h"

namespace kyrox {
namespace {

using testing::filled_plane;
using testing::sized_view;

GaussPass pass_for(double sigma_a, double sigma_b)
{
    GaussPass pass;
    compute_gauss_coefficients(pass.coefficients, sigma_a, sigma_b);
    compute_gauss_boundary(pass.boundary, pass.coefficients);
    return pass;
}

TEST(GaussCoefficients, AcceptsSigmaHalf)
{
    GaussCoefficients set;
    EXPECT_NO_THROW(compute_gauss_coefficients(set, 0.5, 0.5));
    EXPECT_TRUE(std::isfinite(set.k.lane0));
    EXPECT_TRUE(std::isfinite(set.b.lane1));
}

TEST(GaussCoefficients, RejectsSigmaBelowHalfOnEitherLaneAndLeavesTheSetAlone)
{
    const std::vector<std::pair<double, double>> rejected{{0.49, 2.0}, {2.0, 0.49}, {std::nan(""), 2.0}, {2.0, -1.0}};
    for (const auto& [a, b] : rejected) {
        SCOPED_TRACE(::testing::Message() << "sigmas " << a << ", " << b);
        GaussCoefficients set;
        compute_gauss_coefficients(set, 7.0, 9.0);
        const GaussCoefficients before = set;
        try {
            compute_gauss_coefficients(set, a, b);
            ADD_FAILURE() << "accepted sigmas " << a << ", " << b;
        } catch (const std::invalid_argument& e) {
            EXPECT_STREQ(e.what(), "Fast Gaussian cannot handle sigma < 0.5.");
        }
        EXPECT_EQ(std::memcmp(&set, &before, sizeof set), 0) << a << ", " << b;
    }
}

TEST(GaussCoefficients, ShapeParameterSwitchesToTheLinearBranchAt3556)
{
    EXPECT_DOUBLE_EQ(gauss_q(3.556), 2.5091);
    EXPECT_NEAR(gauss_q(3.556 - 1e-9), 2.5094, 1e-4);
    EXPECT_DOUBLE_EQ(gauss_q(13.556), 2.5091 + 9.804);
}

TEST(GaussCoefficients, LanesFollowTheirOwnSigma)
{
    const GaussPass pass = pass_for(2.0, 10.0);
    const GaussPass lane0 = pass_for(2.0, 2.0);
    const GaussPass lane1 = pass_for(10.0, 10.0);
    EXPECT_EQ(pass.coefficients.b1.lane0, lane0.coefficients.b1.lane0);
    EXPECT_EQ(pass.coefficients.b1.lane1, lane1.coefficients.b1.lane1);
    EXPECT_EQ(pass.boundary.m[7].lane0, lane0.boundary.m[7].lane0);
    EXPECT_EQ(pass.boundary.m[7].lane1, lane1.boundary.m[7].lane1);
}

// The two run filters on the same data: contiguous, and strided through a wider buffer.
std::vector<GaussPair> filtered_both_ways(const std::vector<GaussPair>& run, const GaussPass& pass)
{
    std::vector<GaussPair> contiguous = run;
    gauss_iir_columns(contiguous, pass.coefficients, pass.boundary);

    constexpr std::size_t stride = 3;
    std::vector<GaussPair> strided(run.size() * stride, GaussPair{-5.0, -5.0});
    for (std::size_t i = 0; i < run.size(); ++i) {
        strided[1 + i * stride] = run[i];
    }
    gauss_iir_rows(strided, {1, stride, run.size()}, pass.coefficients, pass.boundary);
    for (std::size_t i = 0; i < strided.size(); ++i) {
        if (i % stride == 1) {
            EXPECT_EQ(strided[i].lane0, contiguous[i / stride].lane0) << i;
            EXPECT_EQ(strided[i].lane1, contiguous[i / stride].lane1) << i;
        } else {
            EXPECT_EQ(strided[i].lane0, -5.0) << "cell between the run's cells written: " << i;
        }
    }
    return contiguous;
}

TEST(GaussRunFilter, ConstantRunKeepsItsValueAtEveryLength)
{
    for (const double sigma : {0.5, 2.0, 10.0, 60.0}) {
        const GaussPass pass = pass_for(sigma, sigma * 1.5);
        for (const std::size_t length : {1u, 2u, 3u, 4u, 5u, 50u, 1000u}) {
            const std::vector<GaussPair> out = filtered_both_ways(std::vector<GaussPair>(length, {0.75, 3.0}), pass);
            for (const GaussPair& cell : out) {
                EXPECT_NEAR(cell.lane0, 0.75, 1e-9) << "sigma " << sigma << " length " << length;
                EXPECT_NEAR(cell.lane1, 3.0, 4e-9) << "sigma " << sigma << " length " << length;
            }
        }
    }
}

TEST(GaussRunFilter, ShortRunsTouchOnlyTheirOwnCells)
{
    const GaussPass pass = pass_for(3.0, 5.0);
    for (std::size_t length = 0; length <= 4; ++length) {
        std::vector<GaussPair> buffer(10, GaussPair{9.0, 9.0});
        for (std::size_t i = 0; i < length; ++i) {
            buffer[4 + i] = {static_cast<double>(i), 1.0};
        }
        gauss_iir_columns(std::span<GaussPair>(buffer).subspan(4, length), pass.coefficients, pass.boundary);
        for (std::size_t i = 0; i < buffer.size(); ++i) {
            if (i < 4 || i >= 4 + length) {
                EXPECT_EQ(buffer[i].lane0, 9.0) << "length " << length << " cell " << i;
            } else {
                EXPECT_TRUE(std::isfinite(buffer[i].lane0));
            }
        }
        filtered_both_ways(std::vector<GaussPair>(buffer.begin() + 4, buffer.begin() + 4 + static_cast<long>(length)),
                           pass);
    }
}

TEST(GaussRunFilter, StridedRunOutsideTheBufferIsLeftAlone)
{
    const GaussPass pass = pass_for(3.0, 3.0);
    std::vector<GaussPair> buffer(10, GaussPair{1.0, 2.0});
    buffer[0] = {100.0, 100.0};
    gauss_iir_rows(buffer, {0, 4, 4}, pass.coefficients, pass.boundary);
    EXPECT_EQ(buffer[0].lane0, 100.0);
}

// Largest difference between the filter's response to a unit impulse and the sampled Gaussian of
// the same sigma, relative to the Gaussian's peak.
double impulse_error(double sigma, bool lane1)
{
    const GaussPass pass = lane1 ? pass_for(2.0, sigma) : pass_for(sigma, 2.0);
    const std::size_t length = 2 * static_cast<std::size_t>(sigma * 12.0) + 101;
    const std::size_t centre = length / 2;
    std::vector<GaussPair> run(length);
    (lane1 ? run[centre].lane1 : run[centre].lane0) = 1.0;
    gauss_iir_columns(run, pass.coefficients, pass.boundary);
    const double peak = 1.0 / (std::sqrt(2.0 * std::numbers::pi) * sigma);
    double worst = 0.0;
    for (std::size_t n = 0; n < length; ++n) {
        const double x = static_cast<double>(n) - static_cast<double>(centre);
        const double expected = peak * std::exp(-x * x / (2.0 * sigma * sigma));
        worst = std::max(worst, std::abs((lane1 ? run[n].lane1 : run[n].lane0) - expected));
    }
    return worst / peak;
}

TEST(GaussRunFilter, ImpulseResponseFollowsTheSampledGaussian)
{
    // Measured: 9.2 %, 5.3 %, 2.1 % and 1.7 % of the peak; the filter's response is a little wider
    // than the true Gaussian (about 2.23 for sigma 2, 64.2 for sigma 60) and still sums to 1.
    const std::vector<std::pair<double, double>> limits{{0.5, 0.1}, {2.0, 0.06}, {10.0, 0.025}, {60.0, 0.02}};
    for (const auto& [sigma, limit] : limits) {
        for (const bool lane1 : {false, true}) {
            const double error = impulse_error(sigma, lane1);
            EXPECT_LT(error, limit) << "sigma " << sigma;
        }
    }
}

TEST(GaussBuffers, ResizeOnlyWhenTheCellCountChanges)
{
    GaussBuffers gauss;
    size_gauss_buffers(gauss, 12);
    ASSERT_EQ(gauss.buffers[0].size(), 12u);
    ASSERT_EQ(gauss.buffers[1].size(), 12u);
    gauss.buffers[1][5] = {4.0, 4.0};
    size_gauss_buffers(gauss, 12);
    EXPECT_EQ(gauss.buffers[1][5].lane0, 4.0);
    size_gauss_buffers(gauss, 20);
    EXPECT_EQ(gauss.cell_count, 20u);
    EXPECT_EQ(gauss.buffers[1].size(), 20u);
    EXPECT_EQ(gauss.buffers[1][5].lane0, 0.0);
    EXPECT_TRUE(holds_plane(gauss, 5, 4));
    EXPECT_FALSE(holds_plane(gauss, 5, 5));
}

// Every chunk of a batch finds its strip sized before the batch starts, so that no chunk allocates,
// and a strip that fits is kept from frame to frame.
TEST(GaussBuffers, StripsAreSizedForEveryChunkBeforeTheBatch)
{
    const auto cells = [](std::int32_t height) {
        return static_cast<std::size_t>(gauss_side_by_side_columns(simd::widest_path()) * height);
    };
    GaussBuffers gauss;
    size_gauss_strips(gauss, 10, 3);
    for (std::size_t i = 0; i < gauss.strips.size(); ++i) {
        EXPECT_EQ(gauss.strips[i].size(), i < 3 ? cells(10) : 0u) << i;
    }
    const GaussPair* kept = gauss.strips[0].data();
    size_gauss_strips(gauss, 10, 2);
    EXPECT_EQ(gauss.strips[0].data(), kept);
    EXPECT_TRUE(gauss.strips[2].empty());
    size_gauss_strips(gauss, 12, 1000);
    for (const std::vector<GaussPair>& strip : gauss.strips) {
        EXPECT_EQ(strip.size(), cells(12));
    }
}

TEST(GaussBuffers, EachDepthHasItsOwnPair)
{
    EXPECT_NE(&depth_gauss_buffers<std::uint8_t>(), &depth_gauss_buffers<std::uint16_t>());
    EXPECT_NE(&depth_gauss_buffers<std::uint16_t>(), &depth_gauss_buffers<float>());
    EXPECT_EQ(&depth_gauss_buffers<float>(), &depth_gauss_buffers<float>());
}

struct GaussJobs : ::testing::Test {
    static constexpr std::int32_t width = 6;
    static constexpr std::int32_t height = 5;

    void SetUp() override { size_gauss_buffers(gauss, width * height); }

    GaussPair& cell(std::size_t buffer, std::int32_t row, std::int32_t column)
    {
        return gauss.buffers[buffer][static_cast<std::size_t>(row * width + column)];
    }

    // The vertical pass with insets that leave no row to filter: only its load.
    void load()
    {
        const LevelRect none{0, height, 0, height};
        gauss_rows_job({0, width, 0}, {none, none, none, none}, source, passes, gauss);
    }

    GaussBuffers gauss;
    FloatPlane source = filled_plane(width, height, 0.5f);
    GaussPasses passes = gauss_passes({1.0, 2.0, 3.0, 4.0});
};

TEST_F(GaussJobs, VerticalPassLoadsTheRowsItDoesNotFilterWithZeroBorders)
{
    for (std::size_t b = 0; b < 2; ++b) {
        std::fill(gauss.buffers[b].begin(), gauss.buffers[b].end(), GaussPair{8.0, 8.0});
    }
    load();
    for (std::size_t b = 0; b < 2; ++b) {
        for (std::int32_t i = 0; i < height; ++i) {
            for (std::int32_t j = 0; j < width; ++j) {
                const bool border = i == 0 || j == 0 || i == height - 1 || j == width - 1;
                const double expected = border ? 0.0 : 0.5;
                EXPECT_EQ(cell(b, i, j).lane0, expected) << b << " " << i << " " << j;
                EXPECT_EQ(cell(b, i, j).lane1, expected) << b << " " << i << " " << j;
            }
        }
    }
}

TEST_F(GaussJobs, VerticalPassFiltersOnlyTheRowsTheLevelsReach)
{
    for (std::int32_t i = 0; i < height; ++i) {
        std::ranges::fill(source.row(i), static_cast<float>(i));
    }
    // Levels 1 and 2 reach rows 0..2: the run starts at the smaller top inset and is as long as
    // the smaller sum of insets allows. Levels 3 and 4 reach every row.
    const LevelRects rects{LevelRect{0, 1, 0, 2}, LevelRect{0, 0, 0, 2}, LevelRect{}, LevelRect{}};
    gauss_rows_job({0, width, 0}, rects, source, passes, gauss);
    for (std::int32_t j = 1; j < width - 1; ++j) {
        EXPECT_NE(cell(0, 1, j).lane0, 1.0) << j;
        EXPECT_EQ(cell(0, 3, j).lane0, 3.0) << j;
        EXPECT_NE(cell(1, 3, j).lane0, 3.0) << j;
    }
}

TEST_F(GaussJobs, RectanglesBeyondThePlaneAreClampedToIt)
{
    const LevelRects rects{LevelRect{-3, -4, -5, -6}, LevelRect{-3, -4, -5, -6}, LevelRect{9, 9, 9, 9},
                           LevelRect{9, 9, 9, 9}};
    gauss_rows_job({0, width, 0}, rects, source, passes, gauss);
    FrameTarget target;
    target.output_view = sized_view(width, height);
    gauss_columns_job({0, height, 0}, target, source, rects, passes, gauss);
    // Levels 3 and 4 reach no cell: buffer 1 keeps the loaded plane.
    for (std::int32_t i = 0; i < height; ++i) {
        for (std::int32_t j = 0; j < width; ++j) {
            const bool border = i == 0 || j == 0 || i == height - 1 || j == width - 1;
            EXPECT_EQ(cell(1, i, j).lane0, border ? 0.0 : 0.5) << i << " " << j;
        }
    }
}

TEST_F(GaussJobs, HorizontalPassStopsAtTheOutputsHeight)
{
    load();
    const std::vector<GaussPair> before = gauss.buffers[0];
    FrameTarget target;
    target.output_view = sized_view(width, 3);
    const LevelRects rects{};
    gauss_columns_job({1, height, 0}, target, source, rects, passes, gauss);
    for (std::int32_t j = 0; j < width; ++j) {
        EXPECT_NE(cell(0, 1, j).lane0, before[static_cast<std::size_t>(width + j)].lane0) << j;
        for (const std::int32_t i : {3, 4}) {
            EXPECT_EQ(cell(0, i, j).lane0, before[static_cast<std::size_t>(i * width + j)].lane0) << i << " " << j;
        }
    }
}

// The two passes through the pool, as a frame runs them.
void blur_on_pool(const FloatPlane& source, const FrameTarget& target, const LevelRects& rects,
                  const GaussPasses& passes, GaussBuffers& gauss)
{
    parallel_for(
        worker_pool(), [&](const ThreadWorkData& w) { return gauss_rows_job(w, rects, source, passes, gauss); },
        source.width());
    parallel_for(
        worker_pool(),
        [&](const ThreadWorkData& w) { return gauss_columns_job(w, target, source, rects, passes, gauss); },
        source.height());
}

TEST(GaussBlur, PointBlursSymmetricallyWithUnitSumWhateverTheChunking)
{
    constexpr std::int32_t size = 61;
    FloatPlane source = filled_plane(size, size, 0.0f);
    source.row(size / 2)[size / 2] = 1.0f;
    FrameTarget target;
    target.output_view = sized_view(size, size);
    const GaussPasses passes = gauss_passes({1.0, 2.0, 3.0, 4.0});
    GaussBuffers pooled;
    size_gauss_buffers(pooled, size * size);
    size_gauss_strips(pooled, size, worker_pool().thread_count());
    blur_on_pool(source, target, {}, passes, pooled);

    // Without strips, as a chunk whose strip could not be had runs.
    GaussBuffers inline_run;
    size_gauss_buffers(inline_run, size * size);
    gauss_rows_job({0, size, 0}, {}, source, passes, inline_run);
    gauss_columns_job({0, size, 0}, target, source, {}, passes, inline_run);

    for (std::size_t b = 0; b < 2; ++b) {
        double sum0 = 0.0;
        double sum1 = 0.0;
        for (std::int32_t i = 0; i < size; ++i) {
            for (std::int32_t j = 0; j < size; ++j) {
                const GaussPair c = pooled.buffers[b][static_cast<std::size_t>(i * size + j)];
                const GaussPair mirrored = pooled.buffers[b][static_cast<std::size_t>(j * size + (size - 1 - i))];
                EXPECT_EQ(c.lane0, inline_run.buffers[b][static_cast<std::size_t>(i * size + j)].lane0);
                EXPECT_NEAR(c.lane1, mirrored.lane1, 1e-12) << b << " " << i << " " << j;
                sum0 += c.lane0;
                sum1 += c.lane1;
            }
        }
        // The recursive filter's tails are longer than the Gaussian's; a little reaches the border.
        EXPECT_NEAR(sum0, 1.0, 2e-4) << b;
        EXPECT_NEAR(sum1, 1.0, 2e-4) << b;
    }
}

TEST_F(GaussJobs, BuffersTooSmallForThePlaneAreNotTouched)
{
    GaussBuffers small;
    size_gauss_buffers(small, 4);
    const FloatPlane wide = filled_plane(width, height, 1.0f);
    gauss_rows_job({0, width, 0}, {}, wide, passes, small);
    FrameTarget target;
    target.output_view = sized_view(width, height);
    gauss_columns_job({0, height, 0}, target, wide, {}, passes, small);
    EXPECT_EQ(small.buffers[0][3].lane0, 0.0);
}

}  // namespace
}  // namespace kyrox
