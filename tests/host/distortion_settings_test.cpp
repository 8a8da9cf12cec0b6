#include "scene_fixture.h"

namespace {

namespace dist {
inline constexpr A_long noise_scale = 84, wind_speed = 88, wind_direction = 89, noise_complexity = 92,
                        distortion_amount = 94, lock_to_blade = 104, random_seed = 129;
}  // namespace dist

using DistortionTest = SceneTest;

struct DownsampleCase {
    A_u_long den;
    float a;
};

class DistortionDownsampling : public SceneTest, public ::testing::WithParamInterface<DownsampleCase> {};

TEST_P(DistortionDownsampling, ScalesLengthsByTheIntegerFactor)
{
    for (const std::int32_t base : {0, 1000}) {
        set_float(base + dist::wind_speed, 10.0);
        set_float(base + dist::noise_scale, 50.0);
        set_float(base + dist::distortion_amount, 30.0);
    }
    set_downsample(1, GetParam().den);
    for (const std::int32_t base : {0, 1000}) {
        const kyrox::DistortionSettings s = distortion(base);
        EXPECT_FLOAT_EQ(s.wind_speed, 10.0f * GetParam().a) << base;
        EXPECT_FLOAT_EQ(s.noise_scale, 50.0f * GetParam().a) << base;
        EXPECT_FLOAT_EQ(s.distortion_amount, 30.0f * GetParam().a) << base;
    }
}

INSTANTIATE_TEST_SUITE_P(Factors, DistortionDownsampling,
                         ::testing::Values(DownsampleCase{1, 1.0f}, DownsampleCase{2, 0.5f},
                                           DownsampleCase{3, 1.0f / 3.0f}, DownsampleCase{0, 1.0f}));

struct LockCase {
    A_long core_type;
    double end_x, end_y;
    bool locked;
    float theta;
};

class LockToBlade : public SceneTest, public ::testing::WithParamInterface<LockCase> {};

TEST_P(LockToBlade, TurnsTheWindWithTheBladeOnlyForTheBladeCoreType)
{
    set_popup(ids::core_type, GetParam().core_type);
    set_checkbox(dist::lock_to_blade, true);
    set_angle(dist::wind_direction, 90.0);
    set_point(ids::core_start, 100.0, 100.0);
    set_point(ids::core_end, GetParam().end_x, GetParam().end_y);
    const kyrox::DistortionSettings s = distortion(0);
    EXPECT_EQ(s.lock_to_blade, GetParam().locked);
    EXPECT_FLOAT_EQ(s.wind_direction, 1.5707964f + GetParam().theta);
    EXPECT_FLOAT_EQ(s.noise_origin[0], 100.0f);
    EXPECT_FLOAT_EQ(s.noise_origin[1], 100.0f);
}

INSTANTIATE_TEST_SUITE_P(Blades, LockToBlade,
                         ::testing::Values(LockCase{1, 200.0, 100.0, true, 1.57075f},
                                           LockCase{1, 100.0, 200.0, true, 1.5707964f + 1.57075f},
                                           LockCase{2, 200.0, 100.0, false, 0.0f},
                                           LockCase{3, 200.0, 100.0, false, 0.0f}));

TEST_F(DistortionTest, CoreRecordAlwaysCompositesAsDistortion)
{
    set_popup(ids::composite, 2);
    EXPECT_EQ(distortion(0).distortion_composite, kyrox::DistortionComposite::multiply);
    EXPECT_EQ(distortion(1000).distortion_composite, kyrox::DistortionComposite::displace);
}

TEST_F(DistortionTest, SeedAndComplexityTruncateTowardZero)
{
    set_float(dist::random_seed, 3.9);
    set_float(dist::noise_complexity, 2.7);
    set_float(1000 + dist::random_seed, 1e30);
    set_float(1000 + dist::noise_complexity, -2.7);
    const kyrox::DistortionSettings glow = distortion(0);
    EXPECT_EQ(glow.distortion_seed, 3);
    EXPECT_EQ(glow.noise_complexity, 2);
    const kyrox::DistortionSettings core = distortion(1000);
    EXPECT_EQ(core.distortion_seed, 2147483647);
    EXPECT_EQ(core.noise_complexity, -2);
}

TEST_F(DistortionTest, DefaultsOfBothGroups)
{
    const kyrox::DistortionSettings glow = distortion(0);
    EXPECT_FLOAT_EQ(glow.noise_scale, 150.0f);
    EXPECT_FLOAT_EQ(glow.wind_speed, 1.5f);
    EXPECT_EQ(glow.noise_complexity, 5);
    EXPECT_EQ(glow.distortion_type, kyrox::DistortionType::smoke);
    EXPECT_EQ(glow.distortion_seed, 5000);
    EXPECT_TRUE(glow.lock_to_blade);
    const kyrox::DistortionSettings core = distortion(1000);
    EXPECT_FLOAT_EQ(core.noise_scale, 100.0f);
    EXPECT_FLOAT_EQ(core.noise_speed, 1.0f);
    EXPECT_EQ(core.noise_complexity, 3);
}

}  // namespace
