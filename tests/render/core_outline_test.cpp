#include "plugin/render/outline/core_outline.h"

#include "plugin/noise/flicker_noise.h"
#include "plugin/render/outline/blade_outline.h"
#include "plugin/render/outline/elliptic_cap.h"
#include "plugin/render/coverage/polygon_coverage.h"
#include "tests/render/outline_measure.h"
#include "tests/support/blade_scenes.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <set>
#include <vector>

namespace {

using kyrox::CapSize;
using kyrox::CorePolygon;
using kyrox::CoreSegment;
using kyrox::OutlinePoint;
using kyrox::PolygonKind;
using kyrox::PathPoint;
using kyrox::SceneRecord;
using kyrox::test::outline_scene;

void expect_point(OutlinePoint p, float x, float y)
{
    EXPECT_NEAR(p.x, x, 1e-4f);
    EXPECT_NEAR(p.y, y, 1e-4f);
}

TEST(CapPointCount, AboutOnePerPixelOfTheLargerSemiAxisAndAtLeastFour)
{
    struct Case {
        CapSize cap;
        std::int32_t count;
    };
    const float nan = std::numeric_limits<float>::quiet_NaN();
    for (const Case& c :
         {Case{{3.0f, 2.0f}, 4}, Case{{4.99f, 0.0f}, 4}, Case{{12.7f, 1.0f}, 12}, Case{{2.0f, 12.7f}, 12},
          Case{{0.0f, 0.0f}, 4}, Case{{nan, nan}, 4}, Case{{-5.0f, -1.0f}, 4}, Case{{1e30f, 0.0f}, 4096}}) {
        EXPECT_EQ(kyrox::cap_point_count(c.cap), c.count) << c.cap.half_width << " " << c.cap.length;
    }
}

TEST(BladeOutline, OneSampleIsTheCapsuleInItsOrder)
{
    const SceneRecord scene = outline_scene({{10.0f, 10.0f, 50.0f, 10.0f}});
    const std::vector<CorePolygon> polygons = kyrox::build_core_outline(scene, 1.0f, 0.0f, {8.0f, 4.0f}, {6.0f, 12.7f});
    ASSERT_EQ(polygons.size(), 1u);
    const CorePolygon& blade = polygons[0];
    EXPECT_EQ(blade.kind, PolygonKind::blade);
    EXPECT_EQ(blade.intensity, 1.0f);
    const std::size_t ns = 8;
    const std::size_t ne = 12;
    ASSERT_EQ(blade.points.size(), ns + ne + 4);
    // Direction (1, 0), left normal (0, 1): the start cap runs from the right side round the back.
    expect_point(blade.points[0], 10.0f, 2.0f);
    expect_point(blade.points[ns - 1], 10.0f, 18.0f);
    expect_point(blade.points[ns], 10.0f, 18.0f);
    expect_point(blade.points[ns + 1], 50.0f, 16.0f);
    expect_point(blade.points[ns + 2], 50.0f, 16.0f);
    expect_point(blade.points[ns + ne + 1], 50.0f, 4.0f);
    expect_point(blade.points[ns + ne + 2], 50.0f, 4.0f);
    expect_point(blade.points[ns + ne + 3], 10.0f, 2.0f);
    float back = 100.0f;
    for (std::size_t i = 0; i < ns; ++i) {
        back = std::min(back, blade.points[i].x);
    }
    EXPECT_NEAR(back, 10.0f - 4.0f * std::cos(3.1415927f / 14.0f), 1e-4f);
    float front = 0.0f;
    for (std::size_t i = ns + 2; i < ns + ne + 2; ++i) {
        front = std::max(front, blade.points[i].x);
    }
    EXPECT_NEAR(front, 50.0f + 12.7f * std::cos(3.1415927f / 22.0f), 1e-4f);
}

TEST(BladeOutline, OffsetsTrimTheVisiblePart)
{
    SceneRecord scene = outline_scene({{0.0f, 0.0f, 100.0f, 0.0f}});
    scene.start_offset = 0.25f;
    scene.end_offset = 0.5f;
    const std::vector<CorePolygon> polygons = kyrox::build_core_outline(scene, 1.0f, 0.0f, {2.0f, 1.0f}, {2.0f, 1.0f});
    ASSERT_EQ(polygons.size(), 1u);
    expect_point(polygons[0].points[4], 25.0f, 2.0f);
    expect_point(polygons[0].points[5], 50.0f, 2.0f);
}

TEST(BladeOutline, CoincidentEndsGiveOneWholeEllipse)
{
    const SceneRecord scene = outline_scene({{40.0f, 40.0f, 40.0f, 40.0f}});
    const std::vector<CorePolygon> polygons =
        kyrox::build_core_outline(scene, 1.0f, 0.0f, {20.0f, 10.0f}, {20.0f, 10.0f});
    ASSERT_EQ(polygons.size(), 1u);
    const std::vector<OutlinePoint>& points = polygons[0].points;
    ASSERT_EQ(points.size(), 44u);
    float min_x = 1e9f, max_x = -1e9f, min_y = 1e9f, max_y = -1e9f;
    for (const OutlinePoint& p : points) {
        const float dx = (p.x - 40.0f) / 10.0f;
        const float dy = (p.y - 40.0f) / 20.0f;
        const float r = dx * dx + dy * dy;
        EXPECT_TRUE(std::abs(r - 1.0f) < 1e-4f || r < 1e-8f) << p.x << ", " << p.y;
        min_x = std::min(min_x, p.x);
        max_x = std::max(max_x, p.x);
        min_y = std::min(min_y, p.y);
        max_y = std::max(max_y, p.y);
    }
    // Semi-axis hs vertically and cs horizontally; both halves present.
    EXPECT_NEAR(min_y, 20.0f, 1e-3f);
    EXPECT_NEAR(max_y, 60.0f, 1e-3f);
    EXPECT_NEAR(min_x, 30.0f, 0.05f);
    EXPECT_NEAR(max_x, 50.0f, 0.05f);
    EXPECT_GT(outline_measure::area(points), 0.95 * 3.14159265 * 200.0);
}

TEST(BladeOutline, ZeroHalfWidthKeepsTheCapAlongTheCore)
{
    const SceneRecord scene = outline_scene({{10.0f, 10.0f, 30.0f, 10.0f}});
    const std::vector<CorePolygon> polygons = kyrox::build_core_outline(scene, 1.0f, 0.0f, {0.0f, 5.0f}, {0.0f, 5.0f});
    ASSERT_EQ(polygons.size(), 1u);
    for (const OutlinePoint& p : polygons[0].points) {
        EXPECT_NEAR(p.y, 10.0f, 1e-4f);
        EXPECT_GE(p.x, 5.0f - 1e-4f);
        EXPECT_LE(p.x, 35.0f + 1e-4f);
    }
}

TEST(BladeOutline, SeveralSamplesFillTheSweptAreaOnIntegerRows)
{
    // The blade moves from y = 10 to y = 30 between two samples; nothing of either capsule covers y = 20.
    const SceneRecord scene = outline_scene({{10.0f, 10.5f, 50.0f, 10.5f}, {10.0f, 30.5f, 50.0f, 30.5f}});
    const std::vector<CorePolygon> polygons = kyrox::build_core_outline(scene, 1.0f, 0.0f, {2.0f, 2.0f}, {2.0f, 2.0f});
    ASSERT_EQ(polygons.size(), 1u);
    const CorePolygon& hull = polygons[0];
    EXPECT_EQ(hull.kind, PolygonKind::blade);
    ASSERT_FALSE(hull.points.empty());
    // Rows 9 .. 31 of the y range [8.5, 32.5]: each once on the left and once on the right.
    EXPECT_EQ(hull.points.size(), 2u * 23u);
    for (const OutlinePoint& p : hull.points) {
        EXPECT_EQ(p.y, std::trunc(p.y));
        EXPECT_GE(p.y, 9.0f);
        EXPECT_LE(p.y, 31.0f);
    }
    // The left side top-down, then the right side bottom-up.
    for (std::size_t i = 1; i < hull.points.size(); ++i) {
        const float step = hull.points[i].y - hull.points[i - 1].y;
        EXPECT_EQ(step, i < 23 ? 1.0f : (i == 23 ? 0.0f : -1.0f)) << i;
    }
    // Row 9 crosses the chord of the four-point start cap from (10, 8.5) to (10 - sqrt(3), 9.5).
    expect_point(hull.points.front(), 10.0f - std::sqrt(3.0f) * 0.5f, 9.0f);

    kyrox::WorldView model;
    model.width = 64;
    model.height = 48;
    kyrox::FloatPlane glow(model);
    kyrox::FloatPlane core(model);
    kyrox::fill_polygon_coverage({16, 0.00390625f, 0.0625f, hull.points, 1.0f}, glow, core, hull.kind);
    for (std::int32_t y : {12, 20, 28}) {
        for (std::int32_t x : {9, 30, 50}) {
            EXPECT_FLOAT_EQ(core.row(y)[static_cast<std::size_t>(x)], 1.0f) << x << ", " << y;
        }
    }
    EXPECT_EQ(core.row(20)[5], 0.0f);
    EXPECT_EQ(core.row(20)[55], 0.0f);
}

TEST(BladeOutline, RowChunksJoinInOrderWhateverTheThreadCount)
{
    std::vector<CoreSegment> samples;
    for (int i = 0; i < 5; ++i) {
        const auto t = static_cast<float>(i);
        samples.push_back({10.0f + 3.0f * t, 10.0f + 7.0f * t, 60.0f - 2.0f * t, 40.0f + 9.0f * t});
    }
    const kyrox::BladeShape shape{0.1f, 0.9f, {6.0f, 3.0f}, {4.0f, 8.0f}, 6, 8};
    kyrox::WorkerPool one(1);
    const std::vector<OutlinePoint> inline_rows = kyrox::build_blade_outline(one, samples, shape);
    ASSERT_FALSE(inline_rows.empty());
    for (unsigned threads : {2u, 3u, 7u}) {
        kyrox::WorkerPool pool(threads);
        const std::vector<OutlinePoint> chunked = kyrox::build_blade_outline(pool, samples, shape);
        ASSERT_EQ(chunked.size(), inline_rows.size()) << threads;
        for (std::size_t i = 0; i < chunked.size(); ++i) {
            EXPECT_EQ(chunked[i].x, inline_rows[i].x) << threads << " " << i;
            EXPECT_EQ(chunked[i].y, inline_rows[i].y) << threads << " " << i;
        }
    }
}

TEST(BladeOutline, SamplesWithNonFinitePointsAreLeftOut)
{
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    EXPECT_TRUE(
        kyrox::build_core_outline(outline_scene({{nan, 0.0f, 10.0f, 0.0f}}), 1.0f, 0.0f, {2, 2}, {2, 2}).empty());
    EXPECT_TRUE(kyrox::build_core_outline(outline_scene({}), 1.0f, 0.0f, {2, 2}, {2, 2}).empty());
    SceneRecord nan_offset = outline_scene({{0.0f, 0.0f, 10.0f, 0.0f}});
    nan_offset.end_offset = nan;
    EXPECT_TRUE(kyrox::build_core_outline(nan_offset, 1.0f, 0.0f, {2, 2}, {2, 2}).empty());
    // One good sample among bad ones is the capsule by itself.
    const SceneRecord mixed =
        outline_scene({{inf, 0.0f, 10.0f, 0.0f}, {0.0f, 5.0f, 10.0f, 5.0f}, {0.0f, nan, 1.0f, 1.0f}});
    const std::vector<CorePolygon> polygons = kyrox::build_core_outline(mixed, 1.0f, 0.0f, {2, 2}, {2, 2});
    ASSERT_EQ(polygons.size(), 1u);
    EXPECT_EQ(polygons[0].points.size(), 12u);
}

TEST(BladeOutline, FarAwaySamplesStayBounded)
{
    const SceneRecord scene = outline_scene({{-1e30f, -1e30f, 1e30f, 1e30f}, {-1e30f, 1e30f, 1e30f, -1e30f}});
    const std::vector<CorePolygon> swept = kyrox::build_core_outline(scene, 1.0f, 0.0f, {2, 2}, {2, 2});
    ASSERT_EQ(swept.size(), 1u);
    EXPECT_LE(swept[0].points.size(), 2u * ((1u << 17) + 1u));
    const std::vector<CorePolygon> huge_cap =
        kyrox::build_core_outline(outline_scene({{0.0f, 0.0f, 10.0f, 0.0f}}), 1.0f, 0.0f, {3e38f, 1.0f}, {2, 2});
    ASSERT_EQ(huge_cap.size(), 1u);
    EXPECT_EQ(huge_cap[0].points.size(), 4096u + 4u + 4u);
    for (const std::vector<CorePolygon>* polygons : {&swept, &huge_cap}) {
        SCOPED_TRACE(polygons == &swept ? "swept" : "huge cap");
        for (const OutlinePoint& p : (*polygons)[0].points) {
            EXPECT_TRUE(std::isfinite(p.x) && std::isfinite(p.y));
        }
    }
}

PathPoint path_point(float x, float y, float half_width, float cap_length)
{
    return {x, y, half_width, cap_length};
}

TEST(PathOutline, TwoPointPieceIsOffsetAlongItsNormalWithCaps)
{
    SceneRecord scene;
    scene.paths = {{path_point(10.0f, 10.0f, 4.0f, 2.0f), path_point(10.0f, 30.0f, 4.0f, 2.0f)}};
    // Downsample 2 halves the half widths: 2 pixels either side.
    const std::vector<CorePolygon> polygons = kyrox::build_core_outline(scene, 2.0f, 0.0f, {3.0f, 1.0f}, {3.0f, 1.0f});
    ASSERT_EQ(polygons.size(), 1u);
    const CorePolygon& piece = polygons[0];
    EXPECT_EQ(piece.kind, PolygonKind::path_piece);
    EXPECT_EQ(piece.intensity, 1.0f);
    ASSERT_EQ(piece.points.size(), 4u + 4u + 4u);
    // Direction (0, 1), left normal (-1, 0).
    expect_point(piece.points[0], 12.0f, 10.0f);
    expect_point(piece.points[4], 8.0f, 10.0f);
    expect_point(piece.points[5], 8.0f, 30.0f);
    expect_point(piece.points[10], 12.0f, 30.0f);
    expect_point(piece.points[11], 12.0f, 10.0f);
    float back = 100.0f;
    for (std::size_t i = 0; i < 4; ++i) {
        back = std::min(back, piece.points[i].y);
    }
    EXPECT_NEAR(back, 10.0f - std::sqrt(3.0f) * 0.5f, 1e-4f);
}

TEST(PathOutline, NoCapWhereTheHalfWidthIsAtMostATenth)
{
    SceneRecord scene;
    scene.paths = {{path_point(0.0f, 0.0f, 0.1f, 5.0f), path_point(10.0f, 0.0f, 1.0f, 5.0f),
                    path_point(20.0f, 0.0f, 0.05f, 5.0f)}};
    const std::vector<CorePolygon> polygons = kyrox::build_core_outline(scene, 1.0f, 0.0f, {5.0f, 5.0f}, {6.0f, 6.0f});
    ASSERT_EQ(polygons.size(), 1u);
    const std::vector<OutlinePoint>& points = polygons[0].points;
    ASSERT_EQ(points.size(), 6u);
    expect_point(points[0], 0.0f, 0.1f);
    expect_point(points[1], 10.0f, 1.0f);
    expect_point(points[2], 20.0f, 0.05f);
    expect_point(points[3], 20.0f, -0.05f);
    expect_point(points[5], 0.0f, -0.1f);
}

TEST(PathOutline, RandomisedPiecesFlickerApart)
{
    SceneRecord scene;
    for (float y : {10.0f, 20.0f, 30.0f}) {
        scene.paths.push_back({path_point(0.0f, y, 2.0f, 1.0f), path_point(20.0f, y, 2.0f, 1.0f)});
    }
    scene.paths.push_back({path_point(5.0f, 5.0f, 2.0f, 1.0f)});
    scene.mask_randomization = true;
    scene.flicker_speed = 3.0f;
    scene.flicker_amount = 100.0f;
    scene.random_seed = 7;
    const std::vector<CorePolygon> polygons = kyrox::build_core_outline(scene, 1.0f, 1.3f, {2, 1}, {2, 1});
    ASSERT_EQ(polygons.size(), 3u);
    std::set<float> intensities;
    for (const CorePolygon& polygon : polygons) {
        EXPECT_GE(polygon.intensity, 0.0f);
        intensities.insert(polygon.intensity);
    }
    EXPECT_EQ(intensities.size(), 3u);
    // The first piece's phase is the generator's first draw: 7 x 48271 = 337897.
    const float u = 337896.0f / 2147483648.0f;
    EXPECT_FLOAT_EQ(polygons[0].intensity, kyrox::flicker_noise(1.3f * 3.0f * 0.5f + u * 1000.0f) + 1.0f);

    // Seeds are reduced modulo 2^31 - 1 with 0 mapped to 1.
    const auto first_intensity = [&](std::int32_t seed) {
        scene.random_seed = seed;
        return kyrox::build_core_outline(scene, 1.0f, 1.3f, {2, 1}, {2, 1})[0].intensity;
    };
    EXPECT_EQ(first_intensity(0), first_intensity(2147483647));
    EXPECT_EQ(first_intensity(-1), first_intensity(1));
    EXPECT_NE(first_intensity(1), first_intensity(2));

    scene.flicker_amount = 0.0f;
    for (const CorePolygon& polygon : kyrox::build_core_outline(scene, 1.0f, 1.3f, {2, 1}, {2, 1})) {
        EXPECT_EQ(polygon.intensity, 1.0f);
    }
}

TEST(PathOutline, PiecesWithNonFinitePointsAreDropped)
{
    const float nan = std::numeric_limits<float>::quiet_NaN();
    SceneRecord scene;
    scene.paths = {{path_point(0.0f, 0.0f, 2.0f, 1.0f), path_point(nan, 5.0f, 2.0f, 1.0f)},
                   {path_point(0.0f, 0.0f, 2.0f, 1.0f), path_point(10.0f, 0.0f, 2.0f, 1.0f)}};
    EXPECT_EQ(kyrox::build_core_outline(scene, 1.0f, 0.0f, {2, 1}, {2, 1}).size(), 1u);
    EXPECT_TRUE(kyrox::build_core_outline(scene, 0.0f, 0.0f, {2, 1}, {2, 1}).empty());
}

}  // namespace
