#include <cmath>
#include <limits>
#include <vector>

#include "scene_fixture.h"

namespace {

using kyrox::CoreSegment;

// The blade's start point moves between the shutter's opening (time 90) and closing (time 100).
class CoreMotionTest : public SceneTest {
protected:
    void SetUp() override
    {
        SceneTest::SetUp();
        host.in_data().current_time = 100;
        host.in_data().local_time_step = 10;
        set_popup(ids::motion_blur, 1);
        set_float(ids::motion_blur_multiplier, 1.0);
        set_float(ids::motion_blur_phase, 0.0);
        set_float(ids::motion_blur_clamp, 0.0);
        set_point(ids::core_end, 300.0, 50.0);
    }

    void move_start(double start_distance, double end_distance = 0.0)
    {
        minihost::key_point(host, ids::core_start, 90, 100.0, 100.0);
        minihost::key_point(host, ids::core_start, 100, 100.0 + start_distance, 100.0);
        minihost::key_point(host, ids::core_end, 90, 300.0, 50.0);
        minihost::key_point(host, ids::core_end, 100, 300.0 + end_distance, 50.0);
    }
};

struct MovementCase {
    double movement;
    std::size_t segments;
};

class CoreMotionSamples : public CoreMotionTest, public ::testing::WithParamInterface<MovementCase> {};

TEST_P(CoreMotionSamples, OneSampleForEveryTenPixelsOfMovement)
{
    move_start(GetParam().movement);
    const kyrox::SceneRecord scene = gather();
    ASSERT_EQ(scene.core_segments.size(), GetParam().segments);
    EXPECT_FLOAT_EQ(scene.core_segments.front().start_x, 100.0f);
    EXPECT_FLOAT_EQ(scene.core_segments.back().start_x, static_cast<float>(100.0 + GetParam().movement));
    EXPECT_FLOAT_EQ(scene.core_segments.back().end_x, 300.0f);
}

INSTANTIATE_TEST_SUITE_P(Movements, CoreMotionSamples,
                         ::testing::Values(MovementCase{0.0, 1}, MovementCase{10.0, 2}, MovementCase{10.5, 3},
                                           MovementCase{25.0, 4}));

TEST_F(CoreMotionTest, SamplesSweepTheShutterIntervalInOrder)
{
    move_start(25.0);
    const kyrox::SceneRecord scene = gather();
    ASSERT_EQ(scene.core_segments.size(), 4u);
    // u = 0, 1/3, 2/3, 1 fall on times 90, 94, 97 and 100.
    const float expected[] = {100.0f, 110.0f, 117.5f, 125.0f};
    for (std::size_t i = 0; i < 4; ++i) {
        EXPECT_NEAR(scene.core_segments[i].start_x, expected[i], 1e-3f) << i;
    }
}

struct SwitchCase {
    A_long mode;
    AEGP_LayerFlags layer_flags;
    AEGP_CompFlags comp_flags;
    std::size_t segments;
};

class MotionBlurSwitch : public CoreMotionTest, public ::testing::WithParamInterface<SwitchCase> {};

TEST_P(MotionBlurSwitch, BlursOnlyWhenSwitchedOn)
{
    move_start(25.0);
    set_popup(ids::motion_blur, GetParam().mode);
    host.scene().layer_flags = GetParam().layer_flags;
    host.scene().comp_flags = GetParam().comp_flags;
    const kyrox::SceneRecord scene = gather();
    ASSERT_EQ(scene.core_segments.size(), GetParam().segments);
    if (GetParam().segments == 1) {
        // Both readings fall on the frame's own time.
        EXPECT_FLOAT_EQ(scene.core_segments.front().start_x, 125.0f);
    }
}

INSTANTIATE_TEST_SUITE_P(Modes, MotionBlurSwitch,
                         ::testing::Values(SwitchCase{1, 0, 0, 4}, SwitchCase{2, 8, 8, 1}, SwitchCase{3, 8, 8, 4},
                                           SwitchCase{3, 8, 0, 1}, SwitchCase{3, 0, 8, 1}, SwitchCase{3, 0x18, 0x9, 4},
                                           SwitchCase{0, 8, 8, 1}));

TEST_F(CoreMotionTest, ClampAboveBothMovementsLeavesOneSegment)
{
    move_start(25.0, 15.0);
    set_float(ids::motion_blur_clamp, 30.0);
    const kyrox::SceneRecord scene = gather();
    ASSERT_EQ(scene.core_segments.size(), 1u);
    EXPECT_FLOAT_EQ(scene.core_segments[0].start_x, 125.0f);
    EXPECT_FLOAT_EQ(scene.core_segments[0].end_x, 315.0f);
}

TEST_F(CoreMotionTest, StartBelowTheClampStaysAtItsClosingPosition)
{
    move_start(5.0, 25.0);
    set_float(ids::motion_blur_clamp, 10.0);
    const kyrox::SceneRecord scene = gather();
    ASSERT_EQ(scene.core_segments.size(), 4u);
    for (const CoreSegment& segment : scene.core_segments) {
        EXPECT_FLOAT_EQ(segment.start_x, 105.0f);
    }
    EXPECT_FLOAT_EQ(scene.core_segments.front().end_x, 300.0f);
    EXPECT_FLOAT_EQ(scene.core_segments.back().end_x, 325.0f);
}

struct ClampCase {
    A_u_long downsample_den;
    std::size_t segments;
};

class MotionBlurClamp : public CoreMotionTest, public ::testing::WithParamInterface<ClampCase> {};

// The clamp is in full-resolution pixels, the points in downsampled ones: a clamp of 10 compares
// against 5 at half resolution.
TEST_P(MotionBlurClamp, ComparesInFullResolutionPixels)
{
    move_start(6.0);
    set_float(ids::motion_blur_clamp, 10.0);
    set_downsample(1, GetParam().downsample_den);
    EXPECT_EQ(gather().core_segments.size(), GetParam().segments);
}

INSTANTIATE_TEST_SUITE_P(Resolutions, MotionBlurClamp,
                         ::testing::Values(ClampCase{1, 1}, ClampCase{2, 2}, ClampCase{0, 1}));

TEST_F(CoreMotionTest, ExtremeShutterValuesStayFinite)
{
    move_start(25.0);
    host.in_data().current_time = 2'000'000'000;
    host.in_data().local_time_step = 2'000'000'000;
    set_float(ids::motion_blur_multiplier, 1e30);
    set_float(ids::motion_blur_phase, -1e30);
    set_float(ids::motion_blur_clamp, 1e30);
    set_downsample(0, 0);
    const kyrox::SceneRecord scene = gather();
    ASSERT_FALSE(scene.core_segments.empty());
    EXPECT_TRUE(std::isfinite(scene.core_segments[0].start_x));
}

using SceneValuesTest = SceneTest;

struct SeedCase {
    double seed;
    std::int32_t expected;
};

class RandomSeedRounding : public SceneTest, public ::testing::WithParamInterface<SeedCase> {};

TEST_P(RandomSeedRounding, AddsAHalfAndTruncatesTowardZero)
{
    set_float(ids::random_seed, GetParam().seed);
    EXPECT_EQ(gather().random_seed, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Seeds, RandomSeedRounding,
                         ::testing::Values(SeedCase{2.5, 3}, SeedCase{2.4, 2}, SeedCase{-2.6, -2},
                                           SeedCase{1e30, 2147483647}, SeedCase{-1e30, -2147483647 - 1},
                                           SeedCase{NAN, 0}));

struct RoundnessCase {
    bool offset_size;
    double roundness;
    float expected;
};

class RoundnessFloor : public SceneTest, public ::testing::WithParamInterface<RoundnessCase> {};

TEST_P(RoundnessFloor, NeverBelowThreePercent)
{
    set_checkbox(ids::offset_size, GetParam().offset_size);
    set_float(ids::start_offset, 0.0);
    set_float(ids::start_roundness, GetParam().roundness);
    set_float(ids::end_roundness, GetParam().roundness);
    const kyrox::SceneRecord scene = gather();
    EXPECT_FLOAT_EQ(scene.start_roundness, GetParam().expected);
    EXPECT_FLOAT_EQ(scene.end_roundness, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Roundness, RoundnessFloor,
                         ::testing::Values(RoundnessCase{true, 0.0, 3.0f}, RoundnessCase{true, 0.5, 50.0f},
                                           RoundnessCase{true, 0.01, 3.0f}, RoundnessCase{false, 0.0, 3.0f},
                                           RoundnessCase{false, 0.5, 50.0f}, RoundnessCase{true, NAN, 3.0f}));

TEST_F(SceneValuesTest, OffsetSizeOffTakesTheWholeCoreRampAtTheVisibleEnds)
{
    set_checkbox(ids::offset_size, false);
    set_float(ids::start_size, 100.0);
    set_float(ids::end_size, 0.0);
    set_float(ids::start_offset, 20.0);
    set_float(ids::end_offset, 80.0);
    const kyrox::SceneRecord scene = gather();
    EXPECT_FLOAT_EQ(scene.start_offset, 0.2f);
    EXPECT_FLOAT_EQ(scene.end_offset, 0.8f);
    EXPECT_FLOAT_EQ(scene.start_size, 80.0f);
    EXPECT_FLOAT_EQ(scene.end_size, 20.0f);
}

TEST_F(SceneValuesTest, OffsetSizeOnKeepsTheSizesAsSet)
{
    set_checkbox(ids::offset_size, true);
    set_float(ids::start_size, 100.0);
    set_float(ids::end_size, 0.0);
    set_float(ids::start_offset, 20.0);
    const kyrox::SceneRecord scene = gather();
    EXPECT_FLOAT_EQ(scene.start_size, 100.0f);
    EXPECT_FLOAT_EQ(scene.end_size, 0.0f);
}

TEST_F(SceneValuesTest, DefaultsGiveTheDocumentedGlowLevels)
{
    const kyrox::SceneRecord scene = gather();
    const float i = 67.64f * 50.0f * 0.01f * 0.5f;
    const float b = 0.5f;
    const float s = 2.0f * 3.07f * 0.5f;
    EXPECT_FLOAT_EQ(scene.glow_intensity[0], 2.13f * i * b);
    EXPECT_FLOAT_EQ(scene.glow_intensity[1], 0.86f * i * (1.0f + 0.65f * (b - 1.0f)));
    EXPECT_FLOAT_EQ(scene.glow_intensity[2], 0.37f * i * (1.0f + 0.4f * (b - 1.0f)));
    EXPECT_FLOAT_EQ(scene.glow_intensity[3], 0.16f * i * 1.0f * (1.0f + 0.2f * (b - 1.0f)));
    EXPECT_FLOAT_EQ(scene.glow_size[0], 60.0f * s);
    EXPECT_FLOAT_EQ(scene.glow_size[3], 2.9f * s * 1.0f);
    EXPECT_FLOAT_EQ(scene.glow_level_weights[0], 0.5f);
    EXPECT_FLOAT_EQ(scene.glow_level_weights[3], 1.0f);
    // Glow Color (0, 127, 255) with alpha 255.
    EXPECT_FLOAT_EQ(scene.glow_color[0], 0.0f);
    EXPECT_FLOAT_EQ(scene.glow_color[1], 127.0f * 0.003921569f);
    EXPECT_FLOAT_EQ(scene.glow_color[2], 255.0f * 0.003921569f);
    EXPECT_FLOAT_EQ(scene.glow_color[3], 255.0f * 0.003921569f);
    EXPECT_EQ(scene.composite_mode, kyrox::CompositeMode::black);
    EXPECT_FLOAT_EQ(scene.core_size, 3.0f);
    EXPECT_TRUE(scene.paths.empty());
}

TEST_F(SceneValuesTest, EnableGlowOffZeroesTheIntensitiesButKeepsTheSizes)
{
    set_checkbox(ids::enable_glow, false);
    const kyrox::SceneRecord scene = gather();
    for (int level = 0; level < 4; ++level) {
        EXPECT_EQ(scene.glow_intensity[level], 0.0f) << level;
        EXPECT_GT(scene.glow_size[level], 0.0f) << level;
    }
}

TEST_F(SceneValuesTest, GlowBiasOneGivesTheLevelIntensitiesTimesI)
{
    set_float(ids::glow_bias, 1.0);
    set_float(ids::halo_intensity, 200.0);
    const kyrox::SceneRecord scene = gather();
    const float i = 67.64f * 50.0f * 0.01f * 0.5f;
    EXPECT_FLOAT_EQ(scene.glow_intensity[0], 2.13f * i);
    EXPECT_FLOAT_EQ(scene.glow_intensity[1], 0.86f * i);
    EXPECT_FLOAT_EQ(scene.glow_intensity[2], 0.37f * i);
    EXPECT_FLOAT_EQ(scene.glow_intensity[3], 0.16f * i * 2.0f);
}

TEST_F(SceneValuesTest, NoSpreadGivesNoGlowSize)
{
    set_float(ids::glow_spread, -1.0);
    const kyrox::SceneRecord scene = gather();
    for (int level = 0; level < 4; ++level) {
        EXPECT_EQ(scene.glow_size[level], 0.0f) << level;
    }
}

struct AlphaModeCase {
    A_long mode;
    bool mask_glow, not_mask_core, mask_all;
};

class AlphaModeFlags : public SceneTest, public ::testing::WithParamInterface<AlphaModeCase> {};

TEST_P(AlphaModeFlags, MapToTheThreeMatteFlags)
{
    set_popup(ids::alpha_mode, GetParam().mode);
    const kyrox::SceneRecord scene = gather();
    EXPECT_EQ(scene.mask_glow, GetParam().mask_glow);
    EXPECT_EQ(scene.not_mask_core, GetParam().not_mask_core);
    EXPECT_EQ(scene.mask_all, GetParam().mask_all);
}

INSTANTIATE_TEST_SUITE_P(Modes, AlphaModeFlags,
                         ::testing::Values(AlphaModeCase{1, true, true, true}, AlphaModeCase{2, false, false, false},
                                           AlphaModeCase{3, true, true, false}, AlphaModeCase{4, false, true, false}));

// The text matte: the layer checked out at pre-render under the Text Layer parameter's ID.
class TextAlphaTest : public SceneTest {
protected:
    void SetUp() override
    {
        SceneTest::SetUp();
        minihost::CompLayer layer;
        layer.id = 7;
        layer.pixels = minihost::HostWorld(32, 16, 1);
        text = &minihost::choose_text_layer(host, std::move(layer));
        set_checkbox(ids::use_text_alpha, true);
    }

    minihost::CompLayer* text = nullptr;
};

struct TextAlphaCase {
    A_long core_type;
    bool use_text_alpha;
    bool checked_out;
};

class TextAlphaApplies : public TextAlphaTest, public ::testing::WithParamInterface<TextAlphaCase> {};

TEST_P(TextAlphaApplies, OnlyWithCoreTypeText)
{
    set_popup(ids::core_type, GetParam().core_type);
    set_checkbox(ids::use_text_alpha, GetParam().use_text_alpha);
    const kyrox::SceneRecord scene = gather();
    if (GetParam().checked_out) {
        EXPECT_EQ(scene.text_view.data, text->pixels.world().data);
        EXPECT_EQ(scene.text_view.width, 32);
        EXPECT_EQ(scene.text_view.height, 16);
        EXPECT_EQ(scene.text_view.row_bytes, text->pixels.world().rowbytes);
    } else {
        EXPECT_EQ(scene.text_view.data, nullptr);
        EXPECT_EQ(scene.text_view.row_bytes, 0);
        EXPECT_EQ(scene.text_view.bytes_per_channel, 1);
        EXPECT_EQ(scene.text_view.width, 0);
    }
    const bool asked = !host.log().pixel_checkouts.empty() && host.log().pixel_checkouts.back() == 132;
    EXPECT_EQ(asked, GetParam().checked_out);
}

INSTANTIATE_TEST_SUITE_P(CoreTypes, TextAlphaApplies,
                         ::testing::Values(TextAlphaCase{3, true, true}, TextAlphaCase{2, true, false},
                                           TextAlphaCase{1, true, false}, TextAlphaCase{3, false, false}));

TEST_F(TextAlphaTest, FailedCheckoutIsTheCommandsErrorAndLeavesTheViewEmpty)
{
    set_popup(ids::core_type, 3);
    host.settings().layer_pixels_error = PF_Err_OUT_OF_MEMORY;
    const kyrox::SceneRecord scene = gather();
    EXPECT_EQ(gather_error, PF_Err_OUT_OF_MEMORY);
    EXPECT_EQ(scene.text_view.data, nullptr);
}

// Values no slider can give: not finite reads as the default, outside the valid range as its nearer end.
TEST_F(SceneValuesTest, GradingValuesStayInTheSlidersRanges)
{
    struct Grading {
        A_long id;
        float kyrox::SceneRecord::*field;
        float low, high, fallback;
    };
    const Grading gradings[] = {
        {ids::gamma, &kyrox::SceneRecord::gamma, 0.1f, 10.0f, 1.0f},
        {ids::brightness, &kyrox::SceneRecord::brightness, 0.0f, 5.0f, 1.0f},
        {ids::saturation, &kyrox::SceneRecord::saturation, 0.0f, 2.0f, 1.2f},
        {ids::alpha_boost, &kyrox::SceneRecord::alpha_boost, 0.0f, 1.0f, 0.0f},
    };
    const double inf = std::numeric_limits<double>::infinity();
    for (const Grading& g : gradings) {
        const struct {
            double value;
            float expected;
        } cases[] = {{NAN, g.fallback}, {inf, g.fallback}, {-inf, g.fallback}, {1e30, g.high},
                     {-1e30, g.low},    {1000.0, g.high},  {-937.0, g.low},    {0.5, 0.5f}};
        for (const auto& c : cases) {
            SCOPED_TRACE(::testing::Message() << "parameter " << g.id << " = " << c.value);
            set_float(g.id, c.value);
            EXPECT_FLOAT_EQ(gather().*g.field, c.expected);
        }
        set_float(g.id, g.fallback);
    }
}

TEST(SceneRecordClear, EmptiesBothVectors)
{
    kyrox::SceneRecord scene;
    scene.core_segments.resize(3);
    scene.paths.resize(2, std::vector<kyrox::PathPoint>(5));
    kyrox::scene_record_clear(scene);
    EXPECT_TRUE(scene.core_segments.empty());
    EXPECT_TRUE(scene.paths.empty());
    EXPECT_EQ(scene.paths.capacity(), 0u);
}

}  // namespace
