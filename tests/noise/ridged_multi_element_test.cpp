#include "plugin/noise/gradient_noise3.h"
#include "plugin/noise/octave_limit.h"
#include "plugin/noise/ridged_multi_element.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <climits>
#include <cmath>
#include <limits>

namespace {

using noisepp::RidgedMultiElement3D;

constexpr float nan = std::numeric_limits<float>::quiet_NaN();
constexpr float two30 = 1073741824.0f;

// The parameters this system builds its elements with, for a given count, seed and quality.
RidgedMultiElement3D element(int octaves, int seed = 0, int quality = 1)
{
    return RidgedMultiElement3D(octaves, 1.0f, 2.0f, 1.0f, 1.0f, 2.0f, seed, quality);
}

TEST(RidgedMultiElement, WithoutOctavesIsMinusOne)
{
    for (const int count : {0, -1, INT_MIN}) {
        const RidgedMultiElement3D e = element(count);
        EXPECT_TRUE(e.octaves().empty()) << count;
        EXPECT_EQ(e.value(0.3f, -4.2f, 7.7f, nullptr), -1.0f) << count;
        EXPECT_EQ(e.value(nan, 0.0f, 0.0f, nullptr), -1.0f) << count;
    }
}

TEST(RidgedMultiElement, OctaveTableHoldsSeedsFrequenciesAndWeights)
{
    const RidgedMultiElement3D e(4, 0.5f, 3.0f, 1.5f, 1.0f, 2.0f, 0x7ffffffe, 1);
    const auto octaves = e.octaves();
    ASSERT_EQ(octaves.size(), 4u);
    const std::array<int, 4> seeds = {0x7ffffffe, 0x7fffffff, 0, 1};  // wrapped into 31 bits
    const std::array<float, 4> frequencies = {0.5f, 1.5f, 4.5f, 13.5f};
    for (std::size_t i = 0; i < octaves.size(); ++i) {
        EXPECT_EQ(octaves[i].seed, seeds[i]) << i;
        EXPECT_EQ(octaves[i].frequency, frequencies[i]) << i;
        EXPECT_FLOAT_EQ(octaves[i].spectral_weight, std::pow(frequencies[i], -1.5f)) << i;
    }
    EXPECT_EQ(element(2, 0x7fffffff).octaves()[1].seed, 0);
    EXPECT_EQ(element(2, -5).octaves()[0].seed, 0x7ffffffb);
    EXPECT_EQ(element(2, INT_MIN).octaves()[1].seed, 1);
}

TEST(RidgedMultiElement, HugeOctaveCountsAreCapped)
{
    for (const int count : {kyrox::max_noise_octaves + 1, 1000, INT_MAX}) {
        const RidgedMultiElement3D e = element(count, INT_MAX);
        EXPECT_EQ(e.octaves().size(), static_cast<std::size_t>(kyrox::max_noise_octaves)) << count;
        EXPECT_TRUE(std::isfinite(e.value(0.3f, -4.2f, 7.7f, nullptr))) << count;
    }
}

TEST(RidgedWrap, FoldsAtTwoToTheThirty)
{
    struct Case {
        float v, wrapped;
    };
    const std::array<Case, 8> cases = {{
        {two30, -two30},
        {-two30, two30},
        {two30 - 64.0f, two30 - 64.0f},  // the largest float below the limit stays
        {-(two30 - 64.0f), -(two30 - 64.0f)},
        {1.5f * two30, 0.0f},
        {-1.5f * two30, 0.0f},
        {3.0f * two30, -two30},
        {12.5f, 12.5f},
    }};
    for (const Case& c : cases) {
        EXPECT_EQ(noisepp::ridged_wrap(c.v), c.wrapped) << c.v;
    }
    EXPECT_TRUE(std::isnan(noisepp::ridged_wrap(std::numeric_limits<float>::infinity())));
    EXPECT_TRUE(std::isnan(noisepp::ridged_wrap(nan)));
}

TEST(RidgedMultiElement, ZeroNoiseGivesFullSignalAndClampedWeight)
{
    // At whole points every octave's noise is 0, so each signal is offset^2 x weight = weight, and gain 2
    // would double the weight each octave unless it clamps to 1: the sum is then 1 + 1/2 + ... + 1/32.
    for (const auto& p :
         std::array<std::array<float, 3>, 3>{{{0.0f, 0.0f, 0.0f}, {3.0f, -2.0f, 5.0f}, {-7.0f, 1.0f, -1.0f}}}) {
        EXPECT_EQ(element(1).value(p[0], p[1], p[2], nullptr), 0.25f);
        EXPECT_EQ(element(6).value(p[0], p[1], p[2], nullptr), 1.96875f * 1.25f - 1.0f);
    }
}

TEST(RidgedMultiElement, SumsRidgesOfSuccessiveOctaves)
{
    const float x = 0.3f;
    const float y = -1.7f;
    const float z = 2.45f;
    const float n0 = noisepp::gradient_noise3_std(x, y, z, 11);
    const float n1 = noisepp::gradient_noise3_std(2.0f * x, 2.0f * y, 2.0f * z, 12);
    const float s0 = (1.0f - std::fabs(n0)) * (1.0f - std::fabs(n0));
    const float w1 = std::clamp(2.0f * s0, -1.0f, 1.0f);
    const float s1 = (1.0f - std::fabs(n1)) * (1.0f - std::fabs(n1)) * w1;
    EXPECT_FLOAT_EQ(element(2, 11).value(x, y, z, nullptr), (s0 + 0.5f * s1) * 1.25f - 1.0f);
}

TEST(RidgedMultiElement, QualityPicksTheInterpolation)
{
    struct Case {
        int quality;
        float (*noise)(float, float, float, int);
    };
    const std::array<Case, 5> cases = {{{1, noisepp::gradient_noise3_std},
                                        {2, noisepp::gradient_noise3_best},
                                        {0, noisepp::gradient_noise3_fast},
                                        {3, noisepp::gradient_noise3_fast},
                                        {-1, noisepp::gradient_noise3_fast}}};
    for (const Case& c : cases) {
        const float n = c.noise(0.3f, 0.6f, 0.2f, 4);
        EXPECT_FLOAT_EQ(element(1, 4, c.quality).value(0.3f, 0.6f, 0.2f, nullptr),
                        (1.0f - std::fabs(n)) * (1.0f - std::fabs(n)) * 1.25f - 1.0f)
            << c.quality;
    }
}

TEST(RidgedMultiElement, ScaledCoordinatesBeyondTheWrapStayFinite)
{
    const RidgedMultiElement3D e = element(10, 99);
    EXPECT_TRUE(std::isfinite(e.value(5.0e8f, -3.0e9f, 1.0e30f, nullptr)));
    EXPECT_TRUE(std::isfinite(e.value(-1.0e35f, 0.5f, 0.5f, nullptr)));
    EXPECT_TRUE(std::isnan(e.value(nan, 0.5f, 0.5f, nullptr)));
    EXPECT_TRUE(std::isnan(e.value(0.5f, std::numeric_limits<float>::infinity(), 0.5f, nullptr)));
}

}  // namespace
