#include "plugin/render/render_frame.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>

#include "plugin/render/frame_values_detail.h"
#include "plugin/render/blur/gauss_blur.h"
#include "tests/render/frame_fixture.h"

namespace {

using kyrox::CompositeMode;
using kyrox::Pixel;
using kyrox::PixelDepth;
using kyrox::SceneRecord;
using kyrox::test::blade_scene;
using kyrox::test::FrameBuffers;

constexpr std::int32_t W = 64;
constexpr std::int32_t H = 48;

// A host may set the plug-in down from a static destructor of its own at exit, after the kept
// buffers of the frames this program rendered are gone.
struct SetDownAtExit {
    SetDownAtExit() = default;
    SetDownAtExit(const SetDownAtExit&) = delete;
    SetDownAtExit& operator=(const SetDownAtExit&) = delete;
    ~SetDownAtExit() { kyrox::release_kept_frame_buffers(); }
} set_down_at_exit;

template <class Channel>
class RenderFrame : public ::testing::Test {
};
using Depths = ::testing::Types<std::uint8_t, std::uint16_t, float>;
TYPED_TEST_SUITE(RenderFrame, Depths);

// Every output pixel equals p.
template <class Channel>
void expect_all(FrameBuffers<Channel>& f, const Pixel<Channel>& p)
{
    for (const Pixel<Channel>& q : f.pixels()) {
        ASSERT_TRUE(q == p) << +q.alpha << " " << +q.red << " " << +q.green << " " << +q.blue;
    }
    EXPECT_TRUE(f.output.padding_intact());
}

template <class Channel>
Pixel<Channel> opaque_black()
{
    return {PixelDepth<Channel>::full_scale, 0, 0, 0};
}

TYPED_TEST(RenderFrame, NothingToDrawClearsOrCopiesByCompositeMode)
{
    using C = TypeParam;
    for (const bool no_length : {true, false}) {
        for (const CompositeMode m : {CompositeMode::transparent, CompositeMode::black, CompositeMode::add}) {
            FrameBuffers<C> f(W, H);
            f.input.fill({PixelDepth<C>::full_scale, 1, 2, 3});
            SceneRecord s = blade_scene(W, H);
            s.composite_mode = m;
            if (no_length) {
                s.start_offset = 0.4f;
                s.end_offset = 0.4f;
            } else {
                s.core_size = 0.0f;
            }
            f.render(s);
            if (m == CompositeMode::add) {
                expect_all<C>(f, {PixelDepth<C>::full_scale, 1, 2, 3});
            } else if (m == CompositeMode::black) {
                expect_all<C>(f, opaque_black<C>());
            } else {
                expect_all<C>(f, {0, 0, 0, 0});
            }
        }
    }
}

TYPED_TEST(RenderFrame, NoOutlineOrOneOutsideTheLayerLeavesOnlyTheClear)
{
    using C = TypeParam;
    for (const bool outside : {false, true}) {
        for (const CompositeMode m : {CompositeMode::transparent, CompositeMode::black, CompositeMode::add}) {
            FrameBuffers<C> f(W, H);
            SceneRecord s = blade_scene(W, H);
            s.composite_mode = m;
            if (outside) {
                s.core_segments = {{-400.0f, -300.0f, -200.0f, -250.0f}};
            } else {
                s.core_segments.clear();  // a mask core type whose layer has no masks
            }
            f.render(s);
            expect_all<C>(f, m == CompositeMode::transparent ? Pixel<C>{0, 0, 0, 0} : opaque_black<C>());
        }
    }
}

// Set-down releases what frames keep; the frames after it make their buffers anew and come out the same.
TYPED_TEST(RenderFrame, FramesAfterTheKeptBuffersAreReleasedAreTheSame)
{
    using C = TypeParam;
    FrameBuffers<C> first(W, H);
    first.render(blade_scene(W, H));
    kyrox::release_kept_frame_buffers();
    kyrox::release_kept_frame_buffers();
    FrameBuffers<C> again(W, H);
    again.render(blade_scene(W, H));
    EXPECT_TRUE(again.pixels() == first.pixels());
}

TYPED_TEST(RenderFrame, GlowReachesBeyondTheCore)
{
    using C = TypeParam;
    FrameBuffers<C> f(W, H);
    f.render(blade_scene(W, H));
    const Pixel<C> centre = f.output.at(H / 2, W / 2);
    EXPECT_EQ(centre.alpha, PixelDepth<C>::full_scale);
    const Pixel<C> near = f.output.at(H / 2 + 6, W / 2);  // beyond the core, inside the glow
    const Pixel<C> corner = f.output.at(0, 0);
    EXPECT_GT(near.alpha, 0);
    EXPECT_LT(near.alpha, centre.alpha);
    EXPECT_LT(corner.alpha, near.alpha);
    EXPECT_TRUE(f.output.padding_intact());
}

TYPED_TEST(RenderFrame, WithoutGlowTransparentModeWritesWhiteAtTheRampAlpha)
{
    using C = TypeParam;
    FrameBuffers<C> f(W, H);
    SceneRecord s = blade_scene(W, H);
    for (float& v : s.glow_intensity) {
        v = 0.0f;
    }
    f.render(s);
    const C full = PixelDepth<C>::full_scale;
    for (const Pixel<C>& p : f.pixels()) {
        ASSERT_EQ(p.red, full);
        ASSERT_EQ(p.green, full);
        ASSERT_EQ(p.blue, full);
    }
    EXPECT_EQ(f.output.at(H / 2, W / 2).alpha, full);
    EXPECT_EQ(f.output.at(0, 0).alpha, 0);
    EXPECT_EQ(f.output.at(H / 2 + 6, W / 2).alpha, 0);  // no glow round the core
}

TYPED_TEST(RenderFrame, FlickerThatZeroesTheGlowDrawsTheFrameWithoutGlow)
{
    using C = TypeParam;
    SceneRecord flickering = blade_scene(W, H);
    flickering.flicker_amount = 1e6f;
    float dark_time = -1.0f;
    for (int frame = 0; frame < 100 && dark_time < 0.0f; ++frame) {
        const float t = static_cast<float>(frame) / 25.0f;
        if (kyrox::flicker_multiplier(flickering, t) == 0.0f) {
            dark_time = t;
        }
    }
    ASSERT_GE(dark_time, 0.0f);
    SceneRecord unlit = blade_scene(W, H);
    for (float& v : unlit.glow_intensity) {
        v = 0.0f;
    }
    FrameBuffers<C> a(W, H);
    a.render(flickering, kyrox::test::no_distortion(), kyrox::test::no_distortion(), dark_time);
    FrameBuffers<C> b(W, H);
    b.render(unlit, kyrox::test::no_distortion(), kyrox::test::no_distortion(), dark_time);
    EXPECT_TRUE(a.pixels() == b.pixels());
}

TYPED_TEST(RenderFrame, SeedsThatWrapToOneFlickerAlike)
{
    using C = TypeParam;
    const auto frame_of = [](std::int32_t seed) {
        SceneRecord s = blade_scene(W, H);
        s.flicker_amount = 150.0f;
        s.random_seed = seed;
        FrameBuffers<C> f(W, H);
        f.render(s);
        return f.pixels();
    };
    const auto zero = frame_of(0);
    EXPECT_TRUE(frame_of(2147483647) == zero);
    EXPECT_TRUE(frame_of(-1) == zero);
    EXPECT_TRUE(frame_of(-2) == zero);
    EXPECT_TRUE(frame_of(-3) == frame_of(2147483646));
    EXPECT_FALSE(frame_of(-3) == zero);
}

// The filter takes sizes of 0.5 and less at 0.5; a size of 0 still gives a glow round the core.
TYPED_TEST(RenderFrame, GlowSizeZeroIsFilteredAtTheSmallestSigma)
{
    using C = TypeParam;
    SceneRecord s = blade_scene(W, H);
    for (float& v : s.glow_size) {
        v = 0.0f;
    }
    FrameBuffers<C> f(W, H);
    ASSERT_NO_THROW(f.render(s));
    EXPECT_EQ(f.output.at(H / 2, W / 2).alpha, PixelDepth<C>::full_scale);
    // Far from the core only the tone curve's floor is left.
    EXPECT_LT(static_cast<float>(f.output.at(0, 0).alpha), 0.01f * static_cast<float>(PixelDepth<C>::full_scale));
}

// A layer that is transparent everywhere: masks show as the blade vanishing.
template <class C>
std::vector<Pixel<C>> frame_over_clear_layer(int alpha_mode, bool glow)
{
    SceneRecord s = blade_scene(W, H);
    kyrox::test::set_alpha_mode(s, alpha_mode);
    if (!glow) {
        for (float& v : s.glow_intensity) {
            v = 0.0f;
        }
    }
    FrameBuffers<C> f(W, H);
    f.input.fill({0, 0, 0, 0});
    f.render(s);
    return f.pixels();
}

TYPED_TEST(RenderFrame, AlphaModesChooseWhatTheLayerMasks)
{
    using C = TypeParam;
    for (const bool glow : {true, false}) {
        SCOPED_TRACE(glow ? "with glow" : "without glow");
        const auto disabled = frame_over_clear_layer<C>(4, glow);
        const auto mask_glow = frame_over_clear_layer<C>(3, glow);
        const auto all = frame_over_clear_layer<C>(1, glow);
        const auto core_only = frame_over_clear_layer<C>(2, glow);
        const auto lit = [](const std::vector<Pixel<C>>& p) {
            return std::count_if(p.begin(), p.end(), [](const Pixel<C>& q) {
                return static_cast<float>(q.alpha) > 0.02f * static_cast<float>(PixelDepth<C>::full_scale);
            });
        };
        EXPECT_GT(lit(disabled), 0);
        // Mask Glow masks only the glow of a glow frame; a frame without glow is not masked.
        EXPECT_EQ(mask_glow == disabled, !glow);
        if (glow) {
            EXPECT_LT(lit(mask_glow), lit(disabled));
            EXPECT_GT(lit(mask_glow), 0);  // the halo and core stay
        }
        // Enable Masks masks everything; Mask Core masks the glow's source, so its glow goes too.
        EXPECT_EQ(lit(all), 0);
        EXPECT_EQ(lit(core_only), 0);
    }
}

TYPED_TEST(RenderFrame, CoreSoftnessBlursOnlyWhenSet)
{
    using C = TypeParam;
    const auto partial_pixels = [](float softness) {
        SceneRecord s = blade_scene(W, H);
        s.core_segments = {{8.0f, 24.0f, 56.0f, 24.0f}};
        s.core_size = 8.0f;
        s.core_softness = softness;
        for (float& v : s.glow_intensity) {
            v = 0.0f;
        }
        FrameBuffers<C> f(W, H);
        f.render(s);
        int partial = 0;
        for (std::int32_t r = 0; r < H; ++r) {
            const C a = f.output.at(r, W / 2).alpha;
            partial += a > 0 && a < PixelDepth<C>::full_scale ? 1 : 0;
        }
        return partial;
    };
    EXPECT_LE(partial_pixels(0.0f), 2);  // the hard anti-aliased edge: one pixel on each side
    EXPECT_GT(partial_pixels(6.0f), 4);
}

TYPED_TEST(RenderFrame, GaussianBuffersAreKeptForOneSizeAndReplacedForAnother)
{
    using C = TypeParam;
    kyrox::GaussBuffers& gauss = kyrox::depth_gauss_buffers<C>();
    FrameBuffers<C> f(W, H);
    f.render(blade_scene(W, H));
    EXPECT_EQ(gauss.cell_count, static_cast<std::uint64_t>(W * H));
    const kyrox::GaussPair* first = gauss.buffers[0].data();
    const auto before = f.pixels();
    f.render(blade_scene(W, H));
    EXPECT_EQ(gauss.buffers[0].data(), first);
    EXPECT_TRUE(f.pixels() == before);  // the kept contents do not leak into the next frame
    FrameBuffers<C> g(W + 3, H - 5);
    g.render(blade_scene(W, H));
    EXPECT_EQ(gauss.cell_count, static_cast<std::uint64_t>((W + 3) * (H - 5)));
    EXPECT_EQ(gauss.buffers[1].size(), static_cast<std::size_t>((W + 3) * (H - 5)));
}

TYPED_TEST(RenderFrame, DistortionMovesTheGlowAndTheCore)
{
    using C = TypeParam;
    FrameBuffers<C> plain(W, H);
    plain.render(blade_scene(W, H));
    for (const int type : {1, 2, 3}) {
        SCOPED_TRACE(::testing::Message() << "distortion type " << type);
        kyrox::DistortionSettings d = kyrox::test::no_distortion();
        d.distortion_type = static_cast<kyrox::DistortionType>(type);
        d.distortion_amount = 6.0f;
        d.noise_scale = 8.0f;
        FrameBuffers<C> glow(W, H);
        glow.render(blade_scene(W, H), d, kyrox::test::no_distortion());
        EXPECT_FALSE(glow.pixels() == plain.pixels()) << type;
        FrameBuffers<C> core(W, H);
        core.render(blade_scene(W, H), kyrox::test::no_distortion(), d);
        EXPECT_FALSE(core.pixels() == plain.pixels()) << type;
        EXPECT_TRUE(core.output.padding_intact());
    }
}

}  // namespace
