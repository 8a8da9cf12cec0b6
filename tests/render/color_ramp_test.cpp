#include "plugin/render/pixels/color_ramp.h"

#include <gtest/gtest.h>

#include <array>
#include <cstddef>
#include <vector>

namespace {

using kyrox::ColorRamp;
using Lanes = std::array<float, 4>;

constexpr float tolerance = 2e-6f;

std::vector<ColorRamp> base_ramps()
{
    std::vector<ColorRamp> ramps;
    kyrox::build_color_ramps(ramps);
    return ramps;
}

void expect_lanes(const Lanes& actual, const Lanes& expected, float within, const char* what, std::size_t entry)
{
    for (std::size_t lane = 0; lane < 4; ++lane) {
        EXPECT_NEAR(actual[lane], expected[lane], within) << what << " entry " << entry << " lane " << lane;
    }
}

struct TellingRow {
    std::size_t ramp;
    std::size_t entry;
    Lanes lanes;
};

TEST(BaseRamps, MatchTheTellingRows)
{
    const std::vector<TellingRow> rows{
        {0, 1, {1, 0.009383f, 0.00157f, 0.00157f}},
        {0, 128, {1, 1, 0.286733f, 0.286733f}},
        {0, 255, {1, 1, 0.994428f, 0.994428f}},
        {1, 1, {1, 0.004409f, 0.004409f, 0}},
        {1, 128, {1, 0.564334f, 0.564334f, 0}},
        {1, 255, {1, 1, 1, 0.965735f}},
        {2, 1, {1, 0, 0.006655f, 0}},
        {2, 128, {1, 0, 0.851789f, 0}},
        {2, 255, {1, 0.990542f, 1, 0.990542f}},
        {3, 1, {1, 0, 0.005572f, 0.005572f}},
        {3, 128, {1, 0, 0.713267f, 0.713267f}},
        {3, 255, {1, 0.986936f, 1, 1}},
        {4, 1, {1, 0.003016f, 0.003016f, 0.010828f}},
        {4, 128, {1, 0.435666f, 0.435666f, 1}},
        {4, 255, {1, 0.995591f, 0.995591f, 1}},
        {5, 1, {1, 0.008492f, 0.00068f, 0.008492f}},
        {5, 128, {1, 1, 0.148211f, 1}},
        {5, 255, {1, 1, 0.993345f, 1}},
    };
    const auto ramps = base_ramps();
    ASSERT_EQ(ramps.size(), 6u);
    for (const TellingRow& row : rows) {
        SCOPED_TRACE(::testing::Message() << "ramp " << row.ramp << ", entry " << row.entry);
        ASSERT_EQ(ramps[row.ramp].size(), 256u);
        // The table's values are rounded to six decimals.
        expect_lanes(ramps[row.ramp][row.entry].lanes, row.lanes, 5e-7f + tolerance, "ramp", row.entry);
    }
}

TEST(BaseRamps, LumaGrowsEvenlyFromBlack)
{
    const auto ramps = base_ramps();
    for (const ColorRamp& ramp : ramps) {
        SCOPED_TRACE(::testing::Message() << "ramp " << (&ramp - ramps.data()));
        expect_lanes(ramp[0].lanes, {1, 0, 0, 0}, 0.0f, "black", 0);
        for (std::size_t i = 0; i < ramp.size(); ++i) {
            const auto& l = ramp[i].lanes;
            EXPECT_EQ(l[kyrox::lane_alpha], 1.0f);
            const float luma =
                0.299f * l[kyrox::lane_red] + 0.587f * l[kyrox::lane_green] + 0.114f * l[kyrox::lane_blue];
            EXPECT_NEAR(luma, static_cast<float>(i) / 256.0f, tolerance) << i;
        }
    }
}

TEST(BaseRamps, EntriesAreFourLaneVectorsOnSixteenByteBoundaries)
{
    const auto ramps = base_ramps();
    static_assert(sizeof(kyrox::RampEntry) == 16 && alignof(kyrox::RampEntry) == 16);
    EXPECT_EQ(reinterpret_cast<std::uintptr_t>(ramps[3].data()) % 16, 0u);
}

kyrox::SceneRecord scene_of(float red, float green, float blue, kyrox::CompositeMode mode, float alpha_boost = 0.0f)
{
    kyrox::SceneRecord scene;
    scene.glow_color[0] = red;
    scene.glow_color[1] = green;
    scene.glow_color[2] = blue;
    scene.composite_mode = mode;
    scene.alpha_boost = alpha_boost;
    return scene;
}

Lanes blend(const Lanes& a, float wa, const Lanes& b, float wb, float add = 0.0f)
{
    return {a[0] * wa + b[0] * wb + add, a[1] * wa + b[1] * wb + add, a[2] * wa + b[2] * wb + add,
            a[3] * wa + b[3] * wb + add};
}

struct HueCase {
    const char* name;
    std::array<float, 3> color;
    std::size_t from;
    std::size_t to;
    float t;
};

// In Black mode the frame ramp is the blend itself: alpha lane 1, colour lanes not normalised.
TEST(FrameRamp, BlackModeBlendsTheTwoBaseRampsAroundTheHue)
{
    const std::vector<HueCase> cases{
        {"red", {1, 0, 0}, 0, 1, 0.0f},   {"orange", {1, 0.5f, 0}, 0, 1, 0.5f}, {"magenta", {1, 0, 1}, 5, 0, 0.0f},
        {"green", {0, 1, 0}, 2, 3, 0.0f}, {"blue", {0, 0, 1}, 4, 5, 0.0f},      {"azure", {0, 0.5f, 1}, 3, 4, 0.5f},
    };
    const auto base = base_ramps();
    for (const HueCase& c : cases) {
        SCOPED_TRACE(c.name);
        const ColorRamp ramp =
            kyrox::build_frame_ramp(base, scene_of(c.color[0], c.color[1], c.color[2], kyrox::CompositeMode::black));
        ASSERT_EQ(ramp.size(), 256u);
        for (std::size_t i = 0; i < 256; ++i) {
            Lanes expected = blend(base[c.from][i].lanes, 1.0f - c.t, base[c.to][i].lanes, c.t);
            expected[kyrox::lane_alpha] = 1.0f;
            expect_lanes(ramp[i].lanes, expected, tolerance, c.name, i);
        }
    }
}

TEST(FrameRamp, HalfRedIsHalfTheRedRampPlusHalfTheGreyRamp)
{
    const auto base = base_ramps();
    const ColorRamp ramp = kyrox::build_frame_ramp(base, scene_of(0.5f, 0, 0, kyrox::CompositeMode::black));
    expect_lanes(ramp[128].lanes,
                 {1, 0.5f + 0.5f * 128 / 255, 0.5f * 0.286733f + 0.5f * 128 / 255, 0.5f * 0.286733f + 0.5f * 128 / 255},
                 1e-6f, "half red", 128);
    expect_lanes(ramp[0].lanes, {1, 0, 0, 0}, 0.0f, "opaque black", 0);
}

TEST(FrameRamp, PureRedIsTheNormalisedRedRampOutsideBlackMode)
{
    const auto base = base_ramps();
    for (const auto mode : {kyrox::CompositeMode::transparent, kyrox::CompositeMode::add}) {
        SCOPED_TRACE(::testing::Message() << "composite mode " << static_cast<int>(mode));
        const ColorRamp ramp = kyrox::build_frame_ramp(base, scene_of(1, 0, 0, mode));
        expect_lanes(ramp[0].lanes, {0, 0, 0, 0}, 0.0f, "red", 0);
        expect_lanes(ramp[128].lanes, {1, 1, 0.286733f, 0.286733f}, 1e-6f, "red", 128);
        // Entry 1: red 0.009383 becomes 1; the other lanes keep their proportion to it.
        expect_lanes(ramp[1].lanes, {0.0093923f, 1, 0.00157f / 0.009383f, 0.00157f / 0.009383f}, 2e-4f, "red", 1);
        for (const auto& entry : ramp) {
            EXPECT_LE(entry.lanes[kyrox::lane_alpha], 1.0f + 1e-6f);
        }
    }
}

TEST(FrameRamp, GreyColoursGiveTheGreyRamp)
{
    const auto base = base_ramps();
    for (const float level : {0.0f, 0.5f, 1.0f}) {
        const ColorRamp black =
            kyrox::build_frame_ramp(base, scene_of(level, level, level, kyrox::CompositeMode::black));
        const ColorRamp add =
            kyrox::build_frame_ramp(base, scene_of(level, level, level, kyrox::CompositeMode::add, 1.0f));
        for (std::size_t i = 1; i < 256; ++i) {
            const float grey = static_cast<float>(i) / 255.0f;
            expect_lanes(black[i].lanes, {1, grey, grey, grey}, 1e-6f, "grey, black mode", i);
            const float c = -1.0f / 0.501f - 0.002f;
            expect_lanes(add[i].lanes, {c * grey / (c - grey + 1.0f), 1, 1, 1}, 1e-6f, "grey", i);
        }
        expect_lanes(add[0].lanes, {0, 0, 0, 0}, 0.0f, "grey", 0);
    }
}

struct BoostCase {
    float boost;
    float m;
    float alpha;
};

// A single base ramp holding the intensities m as its red lane: pure red picks it unblended, so each
// entry's alpha is the boost curve at m.
TEST(FrameRamp, AlphaBoostLiftsTheAlphaCurve)
{
    const std::vector<BoostCase> cases{{0.0f, 0.25f, 0.250188f}, {0.0f, 0.5f, 0.500250f}, {1.0f, 0.25f, 0.400239f},
                                       {1.0f, 0.5f, 0.666888f},  {0.0f, 1.0f, 1.0f},      {1.0f, 1.0f, 1.0f},
                                       {0.5f, 1.0f, 1.0f}};
    for (const BoostCase& c : cases) {
        SCOPED_TRACE(::testing::Message() << "alpha boost " << c.boost << ", m " << c.m);
        const std::vector<ColorRamp> single{ColorRamp(256, kyrox::RampEntry{{1, c.m, 0, 0}})};
        const ColorRamp ramp =
            kyrox::build_frame_ramp(single, scene_of(1, 0, 0, kyrox::CompositeMode::transparent, c.boost));
        EXPECT_NEAR(ramp[7].lanes[kyrox::lane_alpha], c.alpha, 1e-6f) << "boost " << c.boost << " m " << c.m;
        EXPECT_EQ(ramp[7].lanes[kyrox::lane_red], 1.0f);
    }
}

TEST(FrameRamp, NeedsBaseRamps)
{
    EXPECT_THROW(kyrox::build_frame_ramp({}, scene_of(1, 0, 0, kyrox::CompositeMode::black)), std::invalid_argument);
}

}  // namespace
