#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <vector>

#include "plugin/render/pixels/output_jobs.h"
#include "plugin/render/pixels/color_ramp.h"
#include "plugin/render/pixels/pixel_depth.h"
#include "tests/render/host_image.h"
#include "tests/render/plane_fixture.h"

namespace kyrox {
namespace {

using testing::filled_plane;
using test::HostImage;

ColorRamp make_ramp(const std::function<Color4(std::size_t)>& entry)
{
    ColorRamp ramp(color_ramp_length);
    for (std::size_t i = 0; i < ramp.size(); ++i) {
        ramp[i].lanes = entry(i);
    }
    return ramp;
}

ColorRamp constant_ramp(Color4 c)
{
    return make_ramp([c](std::size_t) { return c; });
}

// Red lane i + 0.5 over 255, so that 8-bit stores give back the entry's index.
ColorRamp index_ramp()
{
    return make_ramp([](std::size_t i) { return Color4{1.0f, (static_cast<float>(i) + 0.5f) / 255.0f, 0.5f, 0.25f}; });
}

SceneRecord plain_scene(CompositeMode mode)
{
    SceneRecord scene;
    scene.composite_mode = mode;
    scene.brightness = 1.0f;
    scene.saturation = 1.0f;
    scene.gamma = 1.0f;
    return scene;
}

TEST(RampLookup, IntensityPicksAndBlendsEntries)
{
    const ColorRamp ramp = make_ramp([](std::size_t i) { return Color4{1.0f, static_cast<float>(i), 0.0f, 0.0f}; });
    const std::vector<std::pair<float, float>> cases{
        {0.0f, 0.0f},
        {0.5f, 128.0f},
        {1.0f, 255.0f},
        {7.5f, 255.0f},
        {100.5f / 256.0f, 100.5f},
        {255.25f / 256.0f, 255.0f},
        {-1.0f, 0.0f},
        {std::numeric_limits<float>::quiet_NaN(), 0.0f},
        {std::numeric_limits<float>::infinity(), 255.0f},
    };
    for (const auto& [v, red] : cases) {
        EXPECT_FLOAT_EQ(ramp_color(ramp, v)[lane_red], red) << v;
    }
}

TEST(RampLookup, LanesAreNeverNegative)
{
    const ColorRamp ramp = constant_ramp({-1.0f, -0.5f, 0.25f, -2.0f});
    EXPECT_EQ(ramp_color(ramp, 0.3f), (Color4{0.0f, 0.0f, 0.25f, 0.0f}));
}

TEST(ColorGrading, SaturationOneOrNaNLeavesTheColourAndZeroMakesGrey)
{
    const Color4 c{0.5f, 0.9f, 0.3f, 0.0f};
    EXPECT_EQ(grade_color(c, 1.0f, 1.0f), c);
    EXPECT_EQ(grade_color(c, std::numeric_limits<float>::quiet_NaN(), 1.0f), c);
    const Color4 grey = grade_color(c, 0.0f, 1.0f);
    EXPECT_EQ(grey[lane_alpha], 0.5f);
    for (const std::size_t lane : {lane_red, lane_green, lane_blue}) {
        SCOPED_TRACE(::testing::Message() << "lane " << lane);
        EXPECT_FLOAT_EQ(grey[lane], 0.4f);
    }
    // Above 1 the colour is pushed away from grey, and lanes pushed below 0 stop there.
    const Color4 vivid = grade_color({0.0f, 1.0f, 0.0f, 0.0f}, 2.0f, 1.0f);
    EXPECT_FLOAT_EQ(vivid[lane_red], 5.0f / 3.0f);
    EXPECT_EQ(vivid[lane_green], 0.0f);
}

TEST(ColorGrading, GammaAppliesToTheColourLanesOnly)
{
    const Color4 c = grade_color({0.25f, 0.25f, 0.5f, 1.0f}, 1.0f, 2.0f);
    EXPECT_EQ(c, (Color4{0.25f, 0.0625f, 0.25f, 1.0f}));
}

TEST(AddComposite, OverTransparentAndOpaquePixels)
{
    EXPECT_EQ(add_over({0, 0, 0, 0}, {0.0f, 0.7f, 0.2f, 0.1f}), (Color4{}));
    const Color4 over_opaque = add_over({1.0f, 0.2f, 0.3f, 0.4f}, {0.5f, 1.0f, 0.5f, 0.0f});
    EXPECT_FLOAT_EQ(over_opaque[lane_alpha], 1.0f);
    EXPECT_FLOAT_EQ(over_opaque[lane_red], 0.7f);
    EXPECT_FLOAT_EQ(over_opaque[lane_green], 0.55f);
    EXPECT_FLOAT_EQ(over_opaque[lane_blue], 0.4f);
    const Color4 over_clear = add_over({0.0f, 0.9f, 0.9f, 0.9f}, {0.5f, 0.2f, 0.4f, 0.6f});
    EXPECT_EQ(over_clear, (Color4{0.5f, 0.2f, 0.4f, 0.6f}));
}

TEST(ChannelStore, DepthRules)
{
    EXPECT_EQ(to_channel<std::uint8_t>(254.99f / 255.0f), 254);
    EXPECT_EQ(to_channel<std::uint8_t>(300.0f / 255.0f), 255);
    EXPECT_EQ(to_channel<std::uint8_t>(-0.5f), 0);
    EXPECT_EQ(to_channel<std::uint8_t>(std::numeric_limits<float>::quiet_NaN()), 0);
    EXPECT_EQ(to_channel<std::uint8_t>(std::numeric_limits<float>::infinity()), 255);
    EXPECT_EQ(to_channel<std::uint16_t>(0.5f), 16384);
    EXPECT_EQ(to_channel<std::uint16_t>(1.5f), 32768);
    EXPECT_EQ(to_channel<float>(1.7f), 1.7f);
}

// One output of w x h pixels, with a pixel's worth of padding after each row, over an input of
// the same depth.
template <class Channel>
struct OutputRun {
    OutputRun(std::int32_t w, std::int32_t h, Pixel<Channel> input_pixel)
        : input(w, h), output(w, h, static_cast<std::int32_t>(sizeof(Pixel<Channel>)))
    {
        input.fill(input_pixel);
        output.fill(sentinel());
        target.input_view = input.view();
        target.output_view = output.view();
    }

    static Pixel<Channel> sentinel() { return {Channel{7}, Channel{7}, Channel{7}, Channel{7}}; }

    FrameTarget target;
    HostImage<Channel> input;
    HostImage<Channel> output;
};

template <class Channel>
void expect_pixel(const Pixel<Channel>& p, Pixel<Channel> expected, const char* what)
{
    EXPECT_EQ(p.alpha, expected.alpha) << what;
    EXPECT_EQ(p.red, expected.red) << what;
    EXPECT_EQ(p.green, expected.green) << what;
    EXPECT_EQ(p.blue, expected.blue) << what;
}

TEST(WriteOutputJob, TransparentWritesWhiteAtTheRampsAlphaAndBlackIsOpaque)
{
    const ColorRamp ramp = constant_ramp({0.5f, 0.2f, 0.4f, 0.6f});
    const FloatPlane plane = filled_plane(1, 1, 0.3f);
    OutputRun<std::uint8_t> transparent(1, 1, {});
    EXPECT_TRUE(write_output_job<std::uint8_t>({0, 1, 0}, transparent.target, plane, plane,
                                               plain_scene(CompositeMode::transparent), ramp));
    expect_pixel<std::uint8_t>(transparent.output.at(0, 0), {127, 255, 255, 255}, "transparent");
    OutputRun<std::uint8_t> black(1, 1, {});
    write_output_job<std::uint8_t>({0, 1, 0}, black.target, plane, plane, plain_scene(CompositeMode::black), ramp);
    expect_pixel<std::uint8_t>(black.output.at(0, 0), {255, 51, 102, 153}, "black");
}

TEST(WriteOutputJob, BrightnessScalesTheCoreAndRowsAndColumnsBeyondTheOutputStayUnwritten)
{
    const ColorRamp ramp = index_ramp();
    const FloatPlane source = filled_plane(4, 4, 0.0f);
    const FloatPlane core = filled_plane(4, 4, 0.25f);
    OutputRun<std::uint8_t> run(3, 2, {});
    SceneRecord scene = plain_scene(CompositeMode::black);
    scene.brightness = 2.0f;
    write_output_job<std::uint8_t>({0, 4, 0}, run.target, source, core, scene, ramp);
    for (std::int32_t i = 0; i < 2; ++i) {
        for (std::int32_t j = 0; j < 3; ++j) {
            EXPECT_EQ(run.output.at(i, j).red, 128) << i << " " << j;
        }
    }
    // A row beyond the output would fall outside the buffer, a column beyond it into the padding.
    EXPECT_TRUE(run.output.padding_intact());
}

TEST(WriteOutputJob, AnOutputWithoutPixelsOrAnEmptyRampIsLeftAlone)
{
    const FloatPlane plane = filled_plane(2, 2, 0.5f);
    FrameTarget no_pixels;
    no_pixels.output_view.width = 2;
    no_pixels.output_view.height = 2;
    EXPECT_TRUE(
        write_output_job<float>({0, 2, 0}, no_pixels, plane, plane, plain_scene(CompositeMode::add), index_ramp()));
    OutputRun<float> run(2, 2, {});
    write_output_job<float>({0, 2, 0}, run.target, plane, plane, plain_scene(CompositeMode::add), ColorRamp{});
    EXPECT_EQ(run.output.at(1, 1).alpha, 7.0f);
}

struct ColorizeRun {
    explicit ColorizeRun(std::int32_t w = 12, std::int32_t h = 6)
        : source(filled_plane(w, h, 0.0f)),
          glow(filled_plane(w, h, 0.5f)),
          halo(filled_plane(w, h, 0.0f)),
          distorted_halo(filled_plane(w, h, 0.0f)),
          core(filled_plane(w, h, 0.0f)),
          run(w, h, {255, 0, 0, 0})
    {
    }

    std::uint8_t red_at(std::int32_t row, std::int32_t column) { return run.output.at(row, column).red; }

    void colorize(const SceneRecord& scene, const DistortionSettings& core_distortion = {})
    {
        EXPECT_TRUE(colorize_job<std::uint8_t>({0, source.height(), 0}, run.target, source,
                                               {glow, halo, distorted_halo, core}, scene, core_distortion, ramp));
    }

    ColorRamp ramp = index_ramp();
    FloatPlane source;
    FloatPlane glow;
    FloatPlane halo;
    FloatPlane distorted_halo;
    FloatPlane core;
    OutputRun<std::uint8_t> run;
};

TEST(ColorizeJob, GlowMaskFollowsTheTextLayerAndInvertMasks)
{
    HostImage<std::uint8_t> text(2, 2);
    text.fill({255, 0, 0, 0});
    text.view().origin_x = 10;
    text.view().origin_y = 5;
    for (const bool invert : {false, true}) {
        ColorizeRun c;
        SceneRecord scene = plain_scene(CompositeMode::black);
        scene.mask_glow = true;
        scene.invert_masks = invert;
        scene.text_view = text.view();
        c.colorize(scene);
        EXPECT_EQ(c.red_at(0, 0), invert ? 128 : 0) << "outside the text layer, invert " << invert;
        EXPECT_EQ(c.red_at(5, 10), invert ? 0 : 128) << "on the text layer, invert " << invert;
        EXPECT_EQ(c.red_at(4, 11), invert ? 128 : 0) << "above the text layer, invert " << invert;
    }
}

TEST(ColorizeJob, GlowMaskUsesTheInputsAlphaWithoutText)
{
    ColorizeRun c;
    c.run.input.at(1, 1).alpha = 0;
    SceneRecord scene = plain_scene(CompositeMode::black);
    scene.mask_glow = true;
    c.colorize(scene);
    EXPECT_EQ(c.red_at(0, 0), 128);
    EXPECT_EQ(c.red_at(1, 1), 0);
}

TEST(ColorizeJob, CoreDistortionChoosesTheHaloAndBlendsTheCoreOnTop)
{
    struct Case {
        float amount;
        bool on_top;
        std::uint8_t red;
    };
    for (const Case& k : {Case{0.0f, true, 64}, Case{1.0f, false, 128}, Case{1.0f, true, 255}}) {
        ColorizeRun c(1, 1);
        c.glow.row(0)[0] = 0.0f;
        c.halo.row(0)[0] = 0.25f;
        c.distorted_halo.row(0)[0] = 0.5f;
        c.core.row(0)[0] = 1.0f;
        SceneRecord scene = plain_scene(CompositeMode::black);
        scene.blend_on_top = k.on_top;
        DistortionSettings core_distortion;
        core_distortion.distortion_amount = k.amount;
        c.colorize(scene, core_distortion);
        EXPECT_EQ(c.red_at(0, 0), k.red) << k.amount << " " << k.on_top;
    }
}

TEST(ColorizeJob, HaloScreensTheGlowAtTheSceneBrightness)
{
    ColorizeRun c(1, 1);
    c.halo.row(0)[0] = 0.25f;
    SceneRecord scene = plain_scene(CompositeMode::black);
    scene.brightness = 2.0f;
    c.colorize(scene);
    // b x h = 0.5 screened with the glow 0.5: 0.75.
    EXPECT_EQ(c.red_at(0, 0), 192);
}

TEST(ColorizeJob, TransparentModeWritesTheRampColour)
{
    ColorizeRun c(1, 1);
    c.ramp = constant_ramp({0.5f, 0.2f, 0.4f, 0.6f});
    c.colorize(plain_scene(CompositeMode::transparent));
    expect_pixel<std::uint8_t>(c.run.output.at(0, 0), {127, 51, 102, 153}, "transparent");
}

template <class Channel>
struct OutputDepth : ::testing::Test {
};
using Depths = ::testing::Types<std::uint8_t, std::uint16_t, float>;
TYPED_TEST_SUITE(OutputDepth, Depths);

TYPED_TEST(OutputDepth, AddOverTheInputStoresAtTheDepthsScale)
{
    using Channel = TypeParam;
    constexpr Channel full = PixelDepth<Channel>::full_scale;
    const Channel half = static_cast<Channel>(full / 2);
    OutputRun<Channel> run(2, 1, {full, half, Channel{0}, full});
    run.input.at(0, 1) = {Channel{0}, Channel{0}, Channel{0}, Channel{0}};
    const ColorRamp ramp = constant_ramp({0.25f, 1.0f, 1.0f, 0.0f});
    const FloatPlane plane = filled_plane(2, 1, 0.5f);
    write_output_job<Channel>({0, 1, 0}, run.target, plane, plane, plain_scene(CompositeMode::add), ramp);
    // Opaque input: p + 0.25 x ramp colour; transparent input: the ramp alone at its alpha.
    const float h = static_cast<float>(half) * PixelDepth<Channel>::channel_scale;
    expect_pixel<Channel>(run.output.at(0, 0), to_pixel<Channel>({1.0f, h + 0.25f, 0.25f, 1.0f}), "opaque");
    expect_pixel<Channel>(run.output.at(0, 1), to_pixel<Channel>({0.25f, 1.0f, 1.0f, 0.0f}), "transparent");
    EXPECT_TRUE(run.output.padding_intact());
}

TYPED_TEST(OutputDepth, BrightCoreStoresTheLastEntryFloatUnclamped)
{
    using Channel = TypeParam;
    OutputRun<Channel> run(1, 1, {});
    const ColorRamp ramp = constant_ramp({1.0f, 1.5f, 0.5f, 0.0f});
    const FloatPlane plane = filled_plane(1, 1, 3.0f);
    write_output_job<Channel>({0, 1, 0}, run.target, plane, plane, plain_scene(CompositeMode::black), ramp);
    constexpr Channel full = PixelDepth<Channel>::full_scale;
    const Channel red = std::is_floating_point_v<Channel> ? Channel(1.5f) : full;
    EXPECT_EQ(run.output.at(0, 0).red, red);
    EXPECT_EQ(run.output.at(0, 0).green, to_channel<Channel>(0.5f));
}

}  // namespace
}  // namespace kyrox
