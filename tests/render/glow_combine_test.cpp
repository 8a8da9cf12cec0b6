#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

#include "plugin/platform/simd/simd_path.h"

#include "plugin/render/blur/gauss_blur.h"
#include "plugin/render/blur/glow_combine.h"
#include "plugin/render/blur/glow_combine_kernels.h"
#include "tests/render/plane_fixture.h"

namespace kyrox {
namespace {

using testing::filled_plane;
using testing::sized_view;

constexpr float curve_at_zero = 0.000485714f;

SceneRecord shaping_scene(float pre_gamma, std::array<float, 4> weights, float brightness = 1.0f)
{
    SceneRecord scene;
    scene.glow_pre_gamma = pre_gamma;
    std::copy(weights.begin(), weights.end(), scene.glow_level_weights);
    scene.brightness = brightness;
    return scene;
}

TEST(GlowShaping, WeightBlendsBetweenThePlainValueAndTheCurve)
{
    const SceneRecord scene = shaping_scene(1.0f, {}, 2.0f);
    EXPECT_FLOAT_EQ(shape_glow_level(0.3f, 0.0f, scene), 0.6f);
    EXPECT_FLOAT_EQ(shape_glow_level(0.0f, 1.0f, scene), 2.0f * curve_at_zero);
    EXPECT_FLOAT_EQ(shape_glow_level(1.0f, 1.0f, scene), 2.0f * 1.000485714f);
    const float curve = ((0.48f * 0.5f + 0.186286f) * 0.5f + 0.333714f) * 0.5f + curve_at_zero;
    EXPECT_FLOAT_EQ(shape_glow_level(0.5f, 0.5f, scene), 2.0f * (0.5f + 0.5f * (curve - 0.5f)));
}

TEST(GlowShaping, PreGammaAppliesBeforeTheCurve)
{
    const SceneRecord scene = shaping_scene(2.0f, {});
    EXPECT_FLOAT_EQ(shape_glow_level(0.5f, 0.0f, scene), 0.25f);
    EXPECT_TRUE(std::isnan(shape_glow_level(-0.1f, 0.0f, shaping_scene(2.2f, {}))));
}

// One plane row of cells through the job; level values per cell in {a1, a2, a3, a4}.
struct CombineRun {
    explicit CombineRun(std::int32_t width, std::int32_t output_width = -1, std::int32_t output_height = 1)
        : source(filled_plane(width, 2, 0.0f)),
          core(filled_plane(width, 2, 0.0f)),
          glow(filled_plane(width, 2, -1.0f)),
          halo(filled_plane(width, 2, -1.0f))
    {
        size_gauss_buffers(gauss, static_cast<std::uint64_t>(width) * 2);
        target.output_view = sized_view(output_width < 0 ? width : output_width, output_height);
    }

    void set_levels(std::int32_t j, std::array<double, 4> a)
    {
        gauss.buffers[0][static_cast<std::size_t>(j)] = {a[0], a[1]};
        gauss.buffers[1][static_cast<std::size_t>(j)] = {a[2], a[3]};
    }

    void run(const SceneRecord& scene, std::array<float, 4> intensities = {1.0f, 1.0f, 1.0f, 1.0f})
    {
        EXPECT_TRUE(combine_glow_job({0, 2, 0}, target, source, core, glow, halo, scene, intensities, gauss));
    }

    FrameTarget target;
    GaussBuffers gauss;
    FloatPlane source;
    FloatPlane core;
    FloatPlane glow;
    FloatPlane halo;
};

struct CombineCase {
    const char* name;
    std::array<double, 4> levels;
    float core;
    float pre_gamma;
    std::array<float, 4> weights;
    float glow;
    float halo;
};

TEST(GlowCombination, Cases)
{
    // Level 1 at 1.995025 + 0.005 maps to x1 = 2.
    const double level1_for_2 = 2.0 / 1.0050251 + 0.005;
    const float screened_zero = (1.0f - curve_at_zero) * curve_at_zero + curve_at_zero;
    const std::vector<CombineCase> cases{
        // Level 1's offset makes its base negative; a negative shaped value adds nothing. The
        // curve's constant term still lights the other levels a little.
        {"zero levels", {0, 0, 0, 0}, 0.0f, 1.0f, {0.5f, 1, 1, 1}, screened_zero, curve_at_zero},
        {"zero levels plain", {0, 0, 0, 0}, 0.0f, 1.0f, {0, 0, 0, 0}, 0.0f, 0.0f},
        // A negative base to a non-integral power is NaN, which counts as 0 everywhere.
        {"NaN level 1", {0, 0, 0, 0}, 0.0f, 2.2f, {0, 0, 0, 0}, 0.0f, 0.0f},
        {"NaN halo", {0, 0, 0, -1.0}, 0.25f, 2.2f, {0, 0, 0, 0}, 0.0f, 0.25f},
        {"core 1", {0, 0, 0, 5.0}, 1.0f, 1.0f, {0, 0, 0, 0}, 0.0f, 1.0f},
        {"glow above 1", {level1_for_2, 0, 0, 3.0}, 0.0f, 1.0f, {0, 0, 0, 0}, 2.0f, 1.0f},
        {"screened levels", {0.5 / 1.0050251 + 0.005, 0.5, 0.5, 0.5}, 0.5f, 1.0f, {0, 0, 0, 0}, 0.875f, 0.75f},
    };
    for (const CombineCase& c : cases) {
        CombineRun run(1);
        run.set_levels(0, c.levels);
        run.core.row(0)[0] = c.core;
        run.run(shaping_scene(c.pre_gamma, c.weights));
        EXPECT_NEAR(run.glow.row(0)[0], c.glow, 2e-6) << c.name;
        EXPECT_NEAR(run.halo.row(0)[0], c.halo, 2e-6) << c.name;
    }
}

TEST(GlowCombination, IntensitiesScaleEachLevel)
{
    CombineRun run(1);
    run.set_levels(0, {0, 0.5, 0, 0.5});
    run.run(shaping_scene(1.0f, {0, 0, 0, 0}), {1.0f, 0.5f, 1.0f, 2.0f});
    EXPECT_FLOAT_EQ(run.glow.row(0)[0], 0.25f);
    EXPECT_FLOAT_EQ(run.halo.row(0)[0], 1.0f);
}

TEST(GlowCombination, CellsBeyondTheOutputAreNotWritten)
{
    CombineRun run(4, 3, 1);
    run.run(shaping_scene(1.0f, {0, 0, 0, 0}));
    for (std::int32_t j = 0; j < 4; ++j) {
        const float expected = j < 3 ? 0.0f : -1.0f;
        EXPECT_EQ(run.glow.row(0)[static_cast<std::size_t>(j)], expected) << j;
        EXPECT_EQ(run.halo.row(0)[static_cast<std::size_t>(j)], expected) << j;
        EXPECT_EQ(run.glow.row(1)[static_cast<std::size_t>(j)], -1.0f) << "row beyond the output's height, " << j;
    }
}

using WideCombine = std::size_t (*)(const CombineRow&, std::size_t, std::size_t, const CombineValues&) noexcept;

struct WideCombineKernel {
    const char* name;
    simd::SimdPath path;
    WideCombine combine;
    std::size_t cells;  // at a time
};

const WideCombineKernel wide_combine_kernels[] = {
    {"SSE2", simd::SimdPath::sse2, combine_row_plain_sse2, 4},
    {"AVX2", simd::SimdPath::avx2, combine_row_plain_avx2, 8},
};

// Rows of every length from 1 to 23 cells (whole groups and tails), with level values of every kind:
// zero, -0, negative, around level 1's 0.005 offset, above 1, NaN and infinity.
TEST(GlowCombination, WideKernelsMatchOneAtATime)
{
    const double levels[] = {0.0,
                             -0.0,
                             0.25,
                             -0.5,
                             0.005,
                             0.00499,
                             1.0,
                             3.5,
                             0.7,
                             1e-9,
                             std::numeric_limits<double>::quiet_NaN(),
                             std::numeric_limits<double>::infinity()};
    const float cores[] = {0.0f, 1.0f, 0.3f, -0.25f, 2.0f};
    const CombineValues values{{1.0f, 0.75f, 1.5f, 2.0f}, {0.5f, 0.0f, 1.0f, 0.25f}, 1.0f, 1.3f};
    for (const WideCombineKernel& kernel : wide_combine_kernels) {
        if (simd::widest_path() < kernel.path) {
            continue;
        }
        SCOPED_TRACE(kernel.name);
        for (std::size_t count = 1; count <= 23; ++count) {
            std::vector<GaussPair> levels12(count);
            std::vector<GaussPair> levels34(count);
            std::vector<float> core(count);
            for (std::size_t j = 0; j < count; ++j) {
                const std::size_t n = std::size(levels);
                levels12[j] = {levels[(j * 5 + count) % n], levels[(j * 7 + 1) % n]};
                levels34[j] = {levels[(j * 3 + 2) % n], levels[(j * 11 + count + 3) % n]};
                core[j] = cores[j % std::size(cores)];
            }
            std::vector<float> glow_one(count, -1.0f);
            std::vector<float> halo_one(count, -1.0f);
            std::vector<float> glow_wide(count, -1.0f);
            std::vector<float> halo_wide(count, -1.0f);
            combine_row_plain({levels12.data(), levels34.data(), core.data(), glow_one.data(), halo_one.data()}, 0,
                              count, values);
            const CombineRow wide{levels12.data(), levels34.data(), core.data(), glow_wide.data(), halo_wide.data()};
            const std::size_t left = kernel.combine(wide, 0, count, values);
            EXPECT_EQ(left, count - count % kernel.cells) << count;
            combine_row_plain(wide, left, count, values);
            for (std::size_t j = 0; j < count; ++j) {
                EXPECT_EQ(std::bit_cast<std::uint32_t>(glow_wide[j]), std::bit_cast<std::uint32_t>(glow_one[j]))
                    << "glow, " << count << " cells, cell " << j;
                EXPECT_EQ(std::bit_cast<std::uint32_t>(halo_wide[j]), std::bit_cast<std::uint32_t>(halo_one[j]))
                    << "halo, " << count << " cells, cell " << j;
            }
        }
    }
}

}  // namespace
}  // namespace kyrox
