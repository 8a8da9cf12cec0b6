#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "plugin/render/blur/gauss_blur.h"
#include "plugin/render/blur/glow_combine.h"
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
        EXPECT_TRUE(combine_glow_job({0, 2, 0}, {}, target, source, core, glow, halo, scene, intensities, gauss));
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

}  // namespace
}  // namespace kyrox
