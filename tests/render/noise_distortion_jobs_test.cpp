#include "plugin/render/distortion/noise_distortion.h"

#include <gtest/gtest.h>

#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstddef>
#include <limits>
#include <string>
#include <vector>

namespace {

using kyrox::DistortionSettings;
using kyrox::DistortionSetup;
using kyrox::NoiseCell;
using kyrox::ThreadWorkData;

// Storage with a view: a float plane (one float per cell) or a noise plane (two).
template <class Cell>
struct Grid {
    Grid(int width, int height)
        : cells(static_cast<std::size_t>(width * height)), view{cells.data(), width, height, width}
    {
    }
    Cell& at(int row, int column) { return cells[static_cast<std::size_t>(row * view.width + column)]; }
    std::vector<Cell> cells;
    kyrox::CellView<Cell> view;
};

DistortionSettings smoke_settings()
{
    DistortionSettings s;
    s.noise_speed = 0.7f;
    s.wind_speed = 3.0f;
    s.wind_direction = 0.4f;
    s.noise_scale = 25.0f;
    s.noise_complexity = 3;
    s.distortion_type = kyrox::DistortionType::smoke;
    s.distortion_composite = kyrox::DistortionComposite::displace;
    s.distortion_amount = 10.0f;
    s.noise_aspect_ratio = 1.5f;
    s.distortion_motion_blur = 0.0f;
    s.noise_bias = 1.0f;
    s.noise_origin[0] = 120.0f;
    s.noise_origin[1] = -40.0f;
    s.distortion_seed = 11;
    return s;
}

void expect_same_point(const kyrox::NoisePoint& a, const kyrox::NoisePoint& b)
{
    EXPECT_EQ(a.x, b.x);
    EXPECT_EQ(a.y, b.y);
    EXPECT_EQ(a.z, b.z);
    EXPECT_EQ(a.w, b.w);
}

TEST(DistortionSetup, TimeZeroWithoutLockHasNoDriftAndNoDepth)
{
    const DistortionSetup setup = kyrox::distortion_setup(smoke_settings(), 1.0f, 0.0f);
    EXPECT_EQ(setup.z, 0.0f);
    EXPECT_EQ(setup.drift.x, 0.0f);
    EXPECT_EQ(setup.drift.y, 0.0f);
}

TEST(DistortionSetup, DriftFollowsWindAndTimeAndStartsAtTheCoreWhenLocked)
{
    DistortionSettings s = smoke_settings();
    s.wind_direction = 0.0f;  // the wind then blows along +y
    const DistortionSetup free = kyrox::distortion_setup(s, 1.0f, 2.0f);
    EXPECT_FLOAT_EQ(free.z, 1.4f);
    EXPECT_NEAR(free.drift.x, 0.0f, 1e-5f);
    EXPECT_FLOAT_EQ(free.drift.y, 2.0f * 3.0f / 25.0f * 100.0f);
    s.lock_to_blade = true;
    const DistortionSetup locked = kyrox::distortion_setup(s, 1.0f, 0.0f);
    EXPECT_FLOAT_EQ(locked.drift.x, -120.0f / 25.0f);
    EXPECT_FLOAT_EQ(locked.drift.y, 40.0f / 25.0f);
}

TEST(DistortionSetup, SeedsDrawOffsetsInRangeAndWrapLikeTheGenerator)
{
    DistortionSettings s = smoke_settings();
    s.distortion_seed = 0;
    const DistortionSetup zero = kyrox::distortion_setup(s, 1.0f, 0.0f);
    for (const int same : {2147483647, -1, -2}) {
        s.distortion_seed = same;
        const DistortionSetup other = kyrox::distortion_setup(s, 1.0f, 0.0f);
        expect_same_point(other.offset_a, zero.offset_a);
        expect_same_point(other.offset_b, zero.offset_b);
    }
    for (const float v :
         {zero.offset_a.x, zero.offset_a.y, zero.offset_a.z, zero.offset_b.x, zero.offset_b.y, zero.offset_b.z}) {
        EXPECT_GE(v, -500.0f);
        EXPECT_LT(v, 500.0f);
    }
    EXPECT_EQ(zero.offset_a.w, 0.0f);
    // The first draw of seed 1 is 48271: (48271 - 1) / 2^31 gives the last coordinate of A.
    EXPECT_FLOAT_EQ(zero.offset_a.z, 1000.0f * (48270.0f / 2147483648.0f) - 500.0f);
    s.distortion_seed = 12345;
    EXPECT_NE(kyrox::distortion_setup(s, 1.0f, 0.0f).offset_a.z, zero.offset_a.z);
}

TEST(DistortionSetup, SixSamplesOnlyWhenWindAndMotionBlurAreBothSet)
{
    const float nan = std::numeric_limits<float>::quiet_NaN();
    struct Case {
        float wind, blur;
        int samples;
    };
    for (const Case c : {Case{0, 0, 1}, Case{3, 0, 1}, Case{0, 2, 1}, Case{3, 2, 6}, Case{-3, 0.5f, 6}, Case{nan, 2, 1},
                         Case{3, nan, 1}}) {
        DistortionSettings s = smoke_settings();
        s.wind_speed = c.wind;
        s.distortion_motion_blur = c.blur;
        EXPECT_EQ(kyrox::distortion_setup(s, 1.0f, 1.0f).samples, c.samples) << c.wind << " " << c.blur;
    }
}

TEST(DistortionSetup, MultiplyAmountScalesWithDownsampling)
{
    DistortionSettings s = smoke_settings();
    EXPECT_EQ(kyrox::distortion_setup(s, 2.0f, 0.0f).amount, 10.0f);
    s.distortion_composite = kyrox::DistortionComposite::multiply;
    EXPECT_EQ(kyrox::distortion_setup(s, 2.0f, 0.0f).amount, 20.0f);
}

TEST(NoisePlane, HalfTheCellsAndAtLeastOne)
{
    struct Case {
        int w, h, nw, nh;
    };
    for (const Case c :
         {Case{8, 6, 4, 3}, Case{5, 3, 2, 1}, Case{1, 1, 1, 1}, Case{0, 0, 1, 1}, Case{1921, 2, 960, 1}}) {
        const kyrox::NoiseView noise = kyrox::noise_plane_view(c.w, c.h);
        EXPECT_EQ(noise.width, c.nw);
        EXPECT_EQ(noise.height, c.nh);
        EXPECT_EQ(noise.stride, c.nw);
    }
}

TEST(NoiseFieldJob, CellsAreTheNoiseAtTheirFullResolutionPosition)
{
    DistortionSettings s = smoke_settings();
    const float time = 1.25f;
    const DistortionSetup setup = kyrox::distortion_setup(s, 1.0f, time);
    Grid<NoiseCell> noise(5, 4);
    kyrox::noise_field_job({s, setup, noise.view}, ThreadWorkData{1, 3, 0});

    kyrox::DistortionNoise reference(s);
    for (int i = 0; i < 4; ++i) {
        for (int j = 0; j < 5; ++j) {
            if (i < 1 || i >= 3) {
                EXPECT_EQ(noise.at(i, j).x, 0.0f) << "row outside the chunk";
                continue;
            }
            const float x = (static_cast<float>(2 * j) / 25.0f + setup.drift.x) * 1.5f;
            const float y = static_cast<float>(2 * i) / 25.0f + setup.drift.y;
            const NoiseCell expected =
                reference.at({x + setup.offset_a.x, y + setup.offset_a.y, setup.z + setup.offset_a.z, 0},
                             {x + setup.offset_b.x, y + setup.offset_b.y, setup.z + setup.offset_b.z, 0});
            EXPECT_EQ(noise.at(i, j).x, expected.x);
            EXPECT_EQ(noise.at(i, j).y, expected.y);
        }
    }
}

TEST(NoiseFieldJob, LockTurnsThePositionWithTheWindAndInvertNegates)
{
    DistortionSettings s = smoke_settings();
    s.lock_to_blade = true;
    s.distortion_type = kyrox::DistortionType::energy;
    s.noise_aspect_ratio = 1.0f;
    const DistortionSetup setup = kyrox::distortion_setup(s, 1.0f, 0.5f);
    Grid<NoiseCell> plain(3, 2);
    kyrox::noise_field_job({s, setup, plain.view}, ThreadWorkData{0, 2, 0});
    s.invert_distortion = true;
    Grid<NoiseCell> inverted(3, 2);
    kyrox::noise_field_job({s, setup, inverted.view}, ThreadWorkData{0, 2, 0});

    kyrox::DistortionNoise reference(s);
    const float x0 = 2.0f * 2.0f / 25.0f + setup.drift.x;
    const float y0 = 2.0f * 1.0f / 25.0f + setup.drift.y;
    const float x = setup.wind_sin * x0 - setup.wind_cos * y0;
    const float y = setup.wind_cos * x0 + setup.wind_sin * y0;
    const NoiseCell expected =
        reference.at({x + setup.offset_a.x, y + setup.offset_a.y, setup.z + setup.offset_a.z, 0},
                     {x + setup.offset_b.x, y + setup.offset_b.y, setup.z + setup.offset_b.z, 0});
    EXPECT_EQ(plain.at(1, 2).x, expected.x);
    EXPECT_EQ(plain.at(1, 2).y, expected.y);
    for (std::size_t k = 0; k < plain.cells.size(); ++k) {
        EXPECT_EQ(inverted.cells[k].x, -plain.cells[k].x);
        EXPECT_EQ(inverted.cells[k].y, -plain.cells[k].y);
    }
}

// Rows are taken eight, four and one cells at a time: every width up to 17 (so every tail after the
// wide steps), each type, and scales at which the positions leave the range of the wide paths (from
// the fifth cell of a row on when nothing drifts, all of a row when the drift is huge too, or, at
// scale 0, as infinity and NaN) give the cell-by-cell noise's bits.
TEST(NoiseFieldJob, EveryWidthGivesTheCellByCellNoiseBitForBit)
{
    struct Case {
        kyrox::DistortionType type;
        float scale;
        float time;
    };
    const std::array<Case, 8> cases{{
        {kyrox::DistortionType::smoke, 25.0f, 0.75f},
        {kyrox::DistortionType::fluid, 25.0f, 0.75f},
        {kyrox::DistortionType::energy, 25.0f, 0.75f},
        {kyrox::DistortionType::smoke, 1e-8f, 0.0f},
        {kyrox::DistortionType::fluid, 1e-8f, 0.0f},
        {kyrox::DistortionType::energy, 1e-8f, 0.0f},
        {kyrox::DistortionType::energy, 1e-8f, 0.75f},
        {kyrox::DistortionType::smoke, 0.0f, 0.75f},
    }};
    for (const Case& c : cases) {
        DistortionSettings s = smoke_settings();
        s.distortion_type = c.type;
        s.noise_scale = c.scale;
        const DistortionSetup setup = kyrox::distortion_setup(s, 1.0f, c.time);
        for (int width = 1; width <= 17; ++width) {
            Grid<NoiseCell> noise(width, 2);
            kyrox::noise_field_job({s, setup, noise.view}, ThreadWorkData{0, 2, 0});
            kyrox::DistortionNoise reference(s);
            for (int i = 0; i < 2; ++i) {
                for (int j = 0; j < width; ++j) {
                    const float x = (static_cast<float>(2 * j) / s.noise_scale + setup.drift.x) * 1.5f;
                    const float y = static_cast<float>(2 * i) / s.noise_scale + setup.drift.y;
                    const NoiseCell expected =
                        reference.at({x + setup.offset_a.x, y + setup.offset_a.y, setup.z + setup.offset_a.z, 0},
                                     {x + setup.offset_b.x, y + setup.offset_b.y, setup.z + setup.offset_b.z, 0});
                    const NoiseCell got = noise.at(i, j);
                    const std::string where = "scale " + std::to_string(c.scale) + ", time " + std::to_string(c.time) +
                                              ", width " + std::to_string(width) + ", cell " + std::to_string(i) +
                                              ", " + std::to_string(j);
                    EXPECT_EQ(std::bit_cast<std::uint32_t>(got.x), std::bit_cast<std::uint32_t>(expected.x)) << where;
                    EXPECT_EQ(std::bit_cast<std::uint32_t>(got.y), std::bit_cast<std::uint32_t>(expected.y)) << where;
                }
            }
        }
    }
}

// Smoke takes nothing else from the seed than its offsets.
TEST(NoiseFieldJob, SeedsZeroAndTopOfRangeGiveTheSameSmoke)
{
    DistortionSettings s = smoke_settings();
    std::vector<NoiseCell> fields[2];
    const int seeds[2] = {0, 2147483647};
    for (int n = 0; n < 2; ++n) {
        s.distortion_seed = seeds[n];
        const DistortionSetup setup = kyrox::distortion_setup(s, 1.0f, 0.0f);
        Grid<NoiseCell> noise(4, 3);
        kyrox::noise_field_job({s, setup, noise.view}, ThreadWorkData{0, 3, 0});
        fields[n] = noise.cells;
    }
    for (std::size_t k = 0; k < fields[0].size(); ++k) {
        EXPECT_EQ(fields[0][k].x, fields[1][k].x);
        EXPECT_EQ(fields[0][k].y, fields[1][k].y);
    }
}

// The displacement stage with a hand-made noise plane.
struct DisplaceFixture {
    DisplaceFixture(int width, int height)
        : source(width, height),
          scratch(width, height),
          noise(kyrox::noise_plane_view(width, height).width, kyrox::noise_plane_view(width, height).height)
    {
    }

    void run(const DistortionSettings& s, const DistortionSetup& setup)
    {
        kyrox::noise_displace_job({s, setup, noise.view, source.view, scratch.view},
                                  ThreadWorkData{0, source.view.height, 0});
    }
    Grid<float> source;
    Grid<float> scratch;
    Grid<NoiseCell> noise;
};

DistortionSetup plain_setup(float amount, int samples)
{
    DistortionSetup setup;
    setup.wind_cos = 1.0f;
    setup.amount = amount;
    setup.samples = samples;
    return setup;
}

TEST(NoiseDisplaceJob, ZeroNoiseLeavesThePlaneAsItWas)
{
    DisplaceFixture f(7, 5);
    for (std::size_t k = 0; k < f.source.cells.size(); ++k) {
        f.source.cells[k] = 0.1f * static_cast<float>(k);
    }
    f.run(smoke_settings(), plain_setup(25.0f, 1));
    EXPECT_EQ(f.scratch.cells, f.source.cells);
    f.run(smoke_settings(), plain_setup(25.0f, 6));
    for (std::size_t k = 0; k < f.source.cells.size(); ++k) {
        EXPECT_FLOAT_EQ(f.scratch.cells[k], f.source.cells[k]);  // six equal samples, averaged
    }
}

TEST(NoiseDisplaceJob, DisplacementReadsTheSourceAndClampsAtItsEdge)
{
    DisplaceFixture f(6, 4);
    for (int i = 0; i < 4; ++i) {
        for (int j = 0; j < 6; ++j) {
            f.source.at(i, j) = static_cast<float>(10 * i + j);
        }
    }
    for (NoiseCell& c : f.noise.cells) {
        c = {0.5f, -1.0f};
    }
    f.run(smoke_settings(), plain_setup(4.0f, 1));
    EXPECT_EQ(f.scratch.at(3, 0), 2.0f);  // two to the right, four up: row -1 clamps to 0
    EXPECT_EQ(f.scratch.at(3, 1), 3.0f);
    EXPECT_EQ(f.scratch.at(3, 5), 5.0f);  // past the right edge
    EXPECT_EQ(f.scratch.at(0, 2), 4.0f);
}

TEST(NoiseDisplaceJob, SixSamplesSpreadAlongTheWind)
{
    DisplaceFixture f(64, 4);
    for (int i = 0; i < 4; ++i) {
        for (int j = 0; j < 64; ++j) {
            f.source.at(i, j) = static_cast<float>(j);
        }
        for (int c = 0; c < f.noise.view.width; ++c) {
            f.noise.at(i / 2, c) = {static_cast<float>(c), 0.0f};
        }
    }
    DistortionSettings s = smoke_settings();
    s.wind_speed = 2.0f;
    s.distortion_motion_blur = 0.5f;  // samples at 0, 3, 6, 9, 12 and 15 pixels along +x
    f.run(s, plain_setup(1.0f, 6));
    // Sample k reads the noise at (j + 3k) / 2 and the source at that distance past j.
    for (const int j : {0, 2, 9}) {
        EXPECT_FLOAT_EQ(f.scratch.at(1, j), 1.5f * static_cast<float>(j) + 3.75f) << j;
    }
    f.run(s, plain_setup(1.0f, 1));
    EXPECT_FLOAT_EQ(f.scratch.at(1, 2), 3.0f);
}

TEST(NoiseDisplaceJob, MultiplyDarkensByTheNoise)
{
    DisplaceFixture f(5, 3);
    f.source.at(0, 0) = 1.0f;
    f.source.at(0, 1) = 2.0f;  // at or above 1 counts as 1
    f.source.at(0, 2) = 0.4f;
    DistortionSettings s = smoke_settings();
    s.distortion_composite = kyrox::DistortionComposite::multiply;
    f.run(s, plain_setup(100.0f, 1));
    EXPECT_EQ(f.scratch.at(0, 0), 0.5f);
    EXPECT_EQ(f.scratch.at(0, 1), 0.5f);
    EXPECT_FLOAT_EQ(f.scratch.at(0, 2), 0.2f);
    for (NoiseCell& c : f.noise.cells) {
        c = {-3.0f, -3.0f};  // q below 0 counts as 0
    }
    f.run(s, plain_setup(100.0f, 1));
    EXPECT_EQ(f.scratch.at(0, 0), 0.0f);
}

TEST(NoiseDisplaceJob, OddWidthReadsTheLastNoiseColumnAtTheRight)
{
    DisplaceFixture f(5, 3);
    ASSERT_EQ(f.noise.view.width, 2);
    ASSERT_EQ(f.noise.view.height, 1);
    f.noise.at(0, 0) = {0.0f, 0.0f};
    f.noise.at(0, 1) = {1.0f, 1.0f};
    for (float& v : f.source.cells) {
        v = 1.0f;
    }
    DistortionSettings s = smoke_settings();
    s.distortion_composite = kyrox::DistortionComposite::multiply;
    f.run(s, plain_setup(100.0f, 1));
    const float expected[5] = {0.5f, 0.75f, 1.0f, 1.0f, 1.0f};
    for (int i = 0; i < 3; ++i) {
        for (int j = 0; j < 5; ++j) {
            EXPECT_FLOAT_EQ(f.scratch.at(i, j), expected[j]) << i << ", " << j;
        }
    }
}

}  // namespace

namespace {

// A pass from one plane into another writes the destination directly; it must give what a pass in
// place gives, and leave its source as it was.
TEST(ApplyNoiseDistortion, IntoAnotherPlaneEqualsInPlace)
{
    Grid<float> source(37, 23);
    for (std::size_t k = 0; k < source.cells.size(); ++k) {
        source.cells[k] = std::fmod(0.013f * static_cast<float>(k * k), 1.0f);
    }
    const std::vector<float> original = source.cells;
    Grid<float> in_place = source;
    in_place.view.data = in_place.cells.data();
    Grid<float> destination(37, 23);
    DistortionSettings s = smoke_settings();
    s.distortion_motion_blur = 0.5f;
    kyrox::apply_noise_distortion(source.view, destination.view, s, 1.0f, 0.4f);
    kyrox::apply_noise_distortion(in_place.view, in_place.view, s, 1.0f, 0.4f);
    EXPECT_EQ(destination.cells, in_place.cells);
    EXPECT_EQ(source.cells, original);
    EXPECT_NE(destination.cells, original);
}

}  // namespace
