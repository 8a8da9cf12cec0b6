#include "plugin/render/frame_values.h"
#include "plugin/render/frame_values_detail.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "plugin/noise/flicker_noise.h"

namespace {

using kyrox::CoreRect;
using kyrox::OutlineBounds;
using kyrox::SceneRecord;

constexpr float nan = std::numeric_limits<float>::quiet_NaN();

SceneRecord drawable_scene()
{
    SceneRecord s;
    s.core_size = 5.0f;
    s.start_offset = 0.0f;
    s.end_offset = 1.0f;
    s.flicker_speed = 3.0f;
    s.flicker_amount = 80.0f;
    s.random_seed = 7;
    for (int k = 0; k < 4; ++k) {
        s.glow_intensity[k] = 1.0f + static_cast<float>(k);
        s.glow_size[k] = 10.0f * static_cast<float>(k + 1);
    }
    return s;
}

TEST(FrameValues, NothingToDrawWithoutLengthOrSize)
{
    struct Case {
        float start, end, size;
        bool nothing;
    };
    for (const Case c : {Case{0.0f, 1.0f, 5.0f, false}, Case{0.3f, 0.3f, 5.0f, true}, Case{0.3f, 0.3005f, 5.0f, true},
                         Case{0.3f, 0.302f, 5.0f, false}, Case{nan, 1.0f, 5.0f, true}, Case{0.0f, 1.0f, 0.0005f, true},
                         Case{0.0f, 1.0f, nan, true}, Case{1.0f, 0.0f, 0.001f, false}}) {
        SceneRecord s = drawable_scene();
        s.start_offset = c.start;
        s.end_offset = c.end;
        s.core_size = c.size;
        EXPECT_EQ(kyrox::nothing_to_draw(s), c.nothing) << c.start << " " << c.end << " " << c.size;
    }
}

TEST(FrameValues, ScalesFollowTheDownsampling)
{
    SceneRecord s = drawable_scene();
    s.core_size = 20.0f;
    s.start_size = 50.0f;
    s.end_size = 100.0f;
    s.start_roundness = 40.0f;
    s.end_roundness = 3.0f;
    s.core_softness = 6.0f;
    const kyrox::FrameScales half = kyrox::frame_scales(s, 2.0f);
    EXPECT_FLOAT_EQ(half.inverse_downsample, 0.5f);
    EXPECT_FLOAT_EQ(half.start_cap.half_width, 5.0f);
    EXPECT_FLOAT_EQ(half.start_cap.length, 2.0f);
    EXPECT_FLOAT_EQ(half.end_cap.half_width, 10.0f);
    EXPECT_FLOAT_EQ(half.end_cap.length, 0.3f);
    EXPECT_FLOAT_EQ(half.softness, 3.0f);
    EXPECT_FLOAT_EQ(half.level_sizes[3], 20.0f);
}

TEST(FrameValues, DownsamplingCompensation)
{
    struct Case {
        float downsample, core_size, factor;
    };
    for (const Case c :
         {Case{1, 5, 1.0f}, Case{1, 50, 1.0f}, Case{2, 5, 0.76033058f}, Case{2, 4.5f, 0.88016529f}, Case{2, 4, 1.0f},
          Case{2, 1, 1.0f}, Case{16, 5, 0.04132231f}, Case{64, 5, 0.04132231f}, Case{4, 5, 0.52066116f}}) {
        EXPECT_NEAR(kyrox::downsampling_compensation(c.downsample, c.core_size), c.factor, 1e-6f)
            << c.downsample << " " << c.core_size;
    }
}

TEST(FrameValues, FlickerIsExactlyOneWithoutAmplitude)
{
    SceneRecord s = drawable_scene();
    s.flicker_amount = 0.0f;
    EXPECT_EQ(kyrox::flicker_multiplier(s, 1.7f), 1.0f);
    s = drawable_scene();
    s.mask_randomization = true;
    s.paths.push_back({{}, {}});
    EXPECT_EQ(kyrox::flicker_multiplier(s, 1.7f), 1.0f);
    s.paths.clear();  // without paths the blade flickers as a whole
    EXPECT_NE(kyrox::flicker_multiplier(s, 1.7f), 1.0f);
}

TEST(FrameValues, FlickerFollowsTheSeededCurve)
{
    SceneRecord s = drawable_scene();
    s.random_seed = 0;
    const float time = 0.85f;
    // Seed 0 runs the generator from 1; its first draw is 48271.
    const float u = 48270.0f / 2147483648.0f;
    const float expected = kyrox::flicker_noise(time * 3.0f * 0.5f + u * 1000.0f) * 0.5f * 0.2f + 1.0f;
    EXPECT_FLOAT_EQ(kyrox::flicker_multiplier(s, time), expected);
    for (const int same : {2147483647, -1, -2}) {
        s.random_seed = same;
        EXPECT_EQ(kyrox::flicker_multiplier(s, time), expected) << same;
    }
    s.random_seed = -3;
    const float minus_three = kyrox::flicker_multiplier(s, time);
    s.random_seed = 2147483646;
    EXPECT_EQ(kyrox::flicker_multiplier(s, time), minus_three);
    EXPECT_NE(minus_three, expected);
}

TEST(FrameValues, StrongFlickerSwitchesTheGlowOff)
{
    SceneRecord s = drawable_scene();
    s.flicker_amount = 1e6f;
    int dark_frames = 0;
    for (int frame = 0; frame < 50; ++frame) {
        const float time = static_cast<float>(frame) / 25.0f;
        const float m = kyrox::flicker_multiplier(s, time);
        EXPECT_GE(m, 0.0f);
        const auto levels = kyrox::level_intensities(s, 1.0f, time);
        EXPECT_EQ(kyrox::any_glow(levels), m > 0.0f);
        if (m == 0.0f) {
            ++dark_frames;
            for (const float v : levels) {
                EXPECT_EQ(v, 0.0f);
            }
        }
    }
    EXPECT_GT(dark_frames, 0);
}

TEST(FrameValues, LevelIntensitiesCarryTheCompensation)
{
    SceneRecord s = drawable_scene();
    s.flicker_amount = 0.0f;
    const auto levels = kyrox::level_intensities(s, 2.0f, 0.0f);
    EXPECT_FLOAT_EQ(levels[0], 0.76033058f);
    EXPECT_FLOAT_EQ(levels[3], 4.0f * 0.76033058f);
    for (float& v : s.glow_intensity) {
        v = 0.0f;
    }
    EXPECT_FALSE(kyrox::any_glow(kyrox::level_intensities(s, 1.0f, 0.0f)));
    s.glow_intensity[2] = nan;
    EXPECT_FALSE(kyrox::any_glow(kyrox::level_intensities(s, 1.0f, 0.0f)));
}

TEST(FrameValues, BoundsCoverEveryPointOrAreInverted)
{
    const OutlineBounds none = kyrox::outline_bounds({});
    EXPECT_GT(none.min_x, none.max_x);
    using kyrox::PolygonKind;
    const std::vector<kyrox::CorePolygon> polygons{{PolygonKind::blade, 1.0f, {{3, 4}, {-1, 9}}},
                                                   {PolygonKind::path_piece, 0.5f, {{7, -2}}}};
    const OutlineBounds b = kyrox::outline_bounds(polygons);
    EXPECT_EQ(b.min_x, -1.0f);
    EXPECT_EQ(b.min_y, -2.0f);
    EXPECT_EQ(b.max_x, 7.0f);
    EXPECT_EQ(b.max_y, 9.0f);
}

constexpr OutlineBounds sample_bounds{10.5f, 20.2f, 30.7f, 40.9f};

TEST(FrameValues, LevelRectsAreInsetsOfTheGrownOutline)
{
    const std::array<float, 4> sizes{10.0f, 0.0f, 2.0f, 1e30f};
    const kyrox::LevelRects off = kyrox::level_rects(sample_bounds, sizes, false, 100, 80);
    for (const kyrox::LevelRect& r : off) {
        SCOPED_TRACE(::testing::Message() << "level " << (&r - off.data()));
        EXPECT_EQ(r.left, 10);
        EXPECT_EQ(r.top, 20);
        EXPECT_EQ(r.right, 69);
        EXPECT_EQ(r.bottom, 39);
    }
    const kyrox::LevelRects on = kyrox::level_rects(sample_bounds, sizes, true, 100, 80);
    EXPECT_EQ(on[0].left, 0);  // 10.5 - 39
    EXPECT_EQ(on[0].top, 0);
    EXPECT_EQ(on[0].right, 30);  // 100 - 69.7
    EXPECT_EQ(on[0].bottom, 0);
    EXPECT_EQ(on[1].left, 8);  // margin 2
    EXPECT_EQ(on[1].right, 67);
    EXPECT_EQ(on[3].left, 0);  // a size without bound covers the plane
    EXPECT_EQ(on[3].right, 0);
    const std::array<float, 4> bad{nan, -5.0f, 0.0f, 0.0f};
    const kyrox::LevelRects odd = kyrox::level_rects(sample_bounds, bad, true, 100, 80);
    EXPECT_EQ(odd[0].left, 0);  // NaN margins clamp to the plane's edge
    EXPECT_EQ(odd[0].right, 100);
    const kyrox::LevelRects empty = kyrox::level_rects({}, sizes, true, 100, 80);
    EXPECT_EQ(empty[0].left, 100);
    EXPECT_EQ(empty[0].right, 100);
}

TEST(FrameValues, CoreRectIsTheOutlinePlusFifty)
{
    const CoreRect r = kyrox::core_rect(sample_bounds, 200, 80);
    EXPECT_EQ(r.x0, 0);
    EXPECT_EQ(r.y0, 0);
    EXPECT_EQ(r.x1, 80);
    EXPECT_EQ(r.y1, 80);
    const CoreRect inside = kyrox::core_rect({100.9f, 70.5f, 120.2f, 90.0f}, 400, 300);
    EXPECT_EQ(inside.x0, 50);
    EXPECT_EQ(inside.y0, 20);
    EXPECT_EQ(inside.x1, 170);
    EXPECT_EQ(inside.y1, 140);
    EXPECT_TRUE(kyrox::is_empty(kyrox::core_rect({}, 200, 80)));
    EXPECT_TRUE(kyrox::is_empty(kyrox::core_rect({-500, -400, -300, -200}, 200, 80)));
    EXPECT_FALSE(kyrox::is_empty(kyrox::core_rect({-1e30f, -1e30f, 1e30f, 1e30f}, 200, 80)));
}

TEST(FrameValues, DrawableAreaIsTheOutlineInsideTheLayer)
{
    kyrox::WorldView input;
    input.width = 64;
    input.height = 48;
    const CoreRect a = kyrox::drawable_area(sample_bounds, input);
    EXPECT_EQ(a.x0, 10);
    EXPECT_EQ(a.y0, 20);
    EXPECT_EQ(a.x1, 31);
    EXPECT_EQ(a.y1, 41);
    EXPECT_TRUE(kyrox::is_empty(kyrox::drawable_area({70, 10, 90, 20}, input)));
    EXPECT_TRUE(kyrox::is_empty(kyrox::drawable_area({-9, -9, -1, 20}, input)));
    // No outline at all: min above max, so nothing is drawable either.
    EXPECT_TRUE(kyrox::is_empty(kyrox::drawable_area({}, input)));
}

TEST(FrameValues, SigmaNeverBelowOneHalf)
{
    EXPECT_EQ(kyrox::gauss_sigma(3.25f), 3.25);
    EXPECT_EQ(kyrox::gauss_sigma(0.5f), 0.5);
    EXPECT_EQ(kyrox::gauss_sigma(0.3f), 0.5);
    EXPECT_EQ(kyrox::gauss_sigma(-2.0f), 0.5);
    EXPECT_EQ(kyrox::gauss_sigma(nan), 0.5);
}

}  // namespace
