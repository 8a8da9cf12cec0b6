#include "plugin/render/coverage/polygon_coverage.h"

#include "plugin/render/coverage/coverage_row.h"
#include "plugin/render/coverage/scanline_crossings.h"
#include "plugin/render/geometry/outline_geometry.h"
#include "tests/render/outline_measure.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <numeric>
#include <vector>

namespace {

using kyrox::FloatPlane;
using kyrox::OutlinePoint;
using kyrox::PolygonKind;

constexpr PolygonKind blade = PolygonKind::blade;
constexpr PolygonKind piece = PolygonKind::path_piece;

struct Planes {
    Planes(std::int32_t width, std::int32_t height) : glow(model(width, height)), core(model(width, height)) {}

    static kyrox::WorldView model(std::int32_t width, std::int32_t height)
    {
        kyrox::WorldView view;
        view.width = width;
        view.height = height;
        return view;
    }

    void fill(const std::vector<OutlinePoint>& points, PolygonKind kind, float intensity = 1.0f)
    {
        kyrox::fill_polygon_coverage({16, 0.00390625f, 0.0625f, points, intensity}, glow, core, kind);
    }

    float core_at(std::int32_t x, std::int32_t y) const { return core.row(y)[static_cast<std::size_t>(x)]; }
    float glow_at(std::int32_t x, std::int32_t y) const { return glow.row(y)[static_cast<std::size_t>(x)]; }

    double core_total() const { return total(core); }
    double glow_total() const { return total(glow); }

    static double total(const FloatPlane& plane)
    {
        double sum = 0.0;
        for (std::int32_t y = 0; y < plane.height(); ++y) {
            for (float v : plane.row(y)) {
                sum += v;
            }
        }
        return sum;
    }

    bool all_zero() const { return core_total() == 0.0 && glow_total() == 0.0; }

    FloatPlane glow;
    FloatPlane core;
};

std::vector<OutlinePoint> rectangle(float x0, float y0, float x1, float y1)
{
    return {{x0, y0}, {x1, y0}, {x1, y1}, {x0, y1}};
}

TEST(PolygonCoverage, FewerThanThreePointsAddNothing)
{
    Planes planes(16, 16);
    planes.fill({}, piece);
    planes.fill({{2.0f, 2.0f}}, piece);
    planes.fill({{2.0f, 2.0f}, {12.0f, 12.0f}}, blade);
    EXPECT_TRUE(planes.all_zero());
}

TEST(PolygonCoverage, CoveredPixelGetsOneAndTheIntensity)
{
    for (PolygonKind kind : {blade, piece}) {
        SCOPED_TRACE(::testing::Message() << "kind " << static_cast<int>(kind));
        Planes planes(16, 16);
        planes.fill(rectangle(2.0f, 2.0f, 9.0f, 9.0f), kind, 0.375f);
        for (std::int32_t y = 3; y < 9; ++y) {
            for (std::int32_t x = 2; x < 9; ++x) {
                EXPECT_EQ(planes.core_at(x, y), 1.0f) << x << ", " << y;
                EXPECT_EQ(planes.glow_at(x, y), 0.375f) << x << ", " << y;
            }
        }
        // The scanline at an integer y belongs to the row below it: the top row misses its first
        // sub-row, which the row under the bottom edge receives.
        EXPECT_EQ(planes.core_at(4, 2), 15.0f / 16.0f);
        EXPECT_EQ(planes.core_at(4, 9), 1.0f / 16.0f);
        EXPECT_EQ(planes.core_at(1, 5), 0.0f);
        EXPECT_EQ(planes.core_at(9, 5), 0.0f);
    }
}

TEST(PolygonCoverage, SpanInsideOnePixelAddsItsSubSamples)
{
    struct Case {
        float x0;
        float x1;
        float expected;  // of one full pixel row: 16 sub-rows
    };
    // x in sub-samples: 3.25 .. 3.75 is 52 .. 60; a span rounded to zero width still counts one.
    for (const Case& c : {Case{3.25f, 3.75f, 16.0f * 8.0f / 256.0f}, Case{3.5f, 3.5f + 1.0f / 64.0f, 16.0f / 256.0f},
                          Case{3.75f, 4.25f, 16.0f * 4.0f / 256.0f}}) {
        Planes planes(8, 8);
        planes.fill(rectangle(c.x0, 2.5f, c.x1, 4.5f), piece);
        EXPECT_EQ(planes.core_at(3, 3), c.expected) << c.x0;
    }
}

TEST(PolygonCoverage, OverlappingPiecesAdd)
{
    Planes planes(16, 16);
    planes.fill(rectangle(1.0f, 1.0f, 8.0f, 8.0f), piece, 0.5f);
    planes.fill(rectangle(4.0f, 4.0f, 12.0f, 12.0f), piece, 0.25f);
    EXPECT_EQ(planes.core_at(5, 5), 2.0f);
    EXPECT_EQ(planes.glow_at(5, 5), 0.75f);
    EXPECT_EQ(planes.core_at(2, 2), 1.0f);
    EXPECT_EQ(planes.core_at(10, 10), 1.0f);
}

TEST(PolygonCoverage, NonzeroWindingFillsOverlapOnceAndKindZeroFillsEachScanline)
{
    // The same square twice round: winding number 2 inside.
    std::vector<OutlinePoint> twice = rectangle(2.0f, 2.0f, 10.0f, 10.0f);
    const std::vector<OutlinePoint> again = twice;
    twice.insert(twice.end(), again.begin(), again.end());
    for (PolygonKind kind : {blade, piece}) {
        Planes planes(12, 12);
        planes.fill(twice, kind);
        EXPECT_EQ(planes.core_at(5, 5), 1.0f) << static_cast<int>(kind);
    }
    // A U: two prongs joined at the bottom. Nonzero leaves the gap between the prongs empty, a blade
    // spans from the leftmost to the rightmost crossing.
    const std::vector<OutlinePoint> u{{2, 2}, {4, 2}, {4, 8}, {8, 8}, {8, 2}, {10, 2}, {10, 10}, {2, 10}};
    Planes winding(12, 12);
    winding.fill(u, piece);
    EXPECT_EQ(winding.core_at(6, 5), 0.0f);
    EXPECT_EQ(winding.core_at(3, 5), 1.0f);
    EXPECT_EQ(winding.core_at(9, 5), 1.0f);
    EXPECT_EQ(winding.core_at(6, 9), 1.0f);
    Planes span(12, 12);
    span.fill(u, blade);
    EXPECT_EQ(span.core_at(6, 5), 1.0f);
    // A figure eight crossing itself: both lobes wind, in opposite senses, and both are filled.
    const std::vector<OutlinePoint> bow{{2, 2}, {10, 10}, {10, 2}, {2, 10}};
    Planes bowtie(12, 12);
    bowtie.fill(bow, piece);
    EXPECT_EQ(bowtie.core_at(3, 6), 1.0f);
    EXPECT_EQ(bowtie.core_at(8, 6), 1.0f);
    EXPECT_EQ(bowtie.core_at(6, 3), 0.0f);
}

TEST(PolygonCoverage, SpanPastTheRightBorderStopsOneSubSampleShort)
{
    Planes planes(8, 8);
    planes.fill(rectangle(6.0f, 2.5f, 13.0f, 4.5f), piece);
    EXPECT_EQ(planes.core_at(6, 3), 1.0f);
    EXPECT_EQ(planes.core_at(7, 3), 15.0f / 16.0f);
}

TEST(PolygonCoverage, SpansLeftOfTheFrame)
{
    Planes outside(8, 8);
    outside.fill(rectangle(-10.0f, 2.0f, -2.0f, 6.0f), piece);
    EXPECT_TRUE(outside.all_zero());
    Planes across(8, 8);
    across.fill(rectangle(-5.0f, 2.5f, 1.5f, 4.5f), piece);
    EXPECT_EQ(across.core_at(0, 3), 1.0f);
    EXPECT_EQ(across.core_at(1, 3), 0.5f);
    EXPECT_EQ(across.core_at(2, 3), 0.0f);
}

TEST(PolygonCoverage, IntensityZeroLeavesTheGlowSource)
{
    for (float intensity : {0.0f, std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity()}) {
        Planes planes(8, 8);
        planes.fill(rectangle(2.0f, 2.0f, 7.0f, 7.0f), piece, 0.5f);
        planes.fill(rectangle(1.0f, 1.0f, 6.0f, 6.0f), piece, intensity);
        EXPECT_EQ(planes.glow_at(3, 3), 0.5f) << intensity;
        EXPECT_EQ(planes.core_at(3, 3), 2.0f) << intensity;
    }
}

TEST(PolygonCoverage, TotalMatchesTheExactArea)
{
    std::vector<OutlinePoint> disc;
    for (int i = 0; i < 256; ++i) {
        const double t = 2.0 * 3.14159265358979 * i / 256.0;
        disc.push_back({static_cast<float>(32.0 + 20.0 * std::cos(t)), static_cast<float>(30.0 + 20.0 * std::sin(t))});
    }
    const std::vector<std::vector<OutlinePoint>> shapes{
        rectangle(1.3f, 2.7f, 20.6f, 15.2f), disc, {{5.2f, 3.1f}, {60.7f, 20.4f}, {17.9f, 58.3f}}};
    for (const auto& shape : shapes) {
        SCOPED_TRACE(::testing::Message() << "shape of " << shape.size() << " points");
        for (PolygonKind kind : {blade, piece}) {
            Planes planes(64, 64);
            planes.fill(shape, kind, 1.0f);
            // Rounding to sub-samples and the widening to the sub-row band cost at most about a
            // sub-sample along the outline.
            EXPECT_NEAR(planes.core_total(), outline_measure::area(shape), outline_measure::perimeter(shape) / 16.0)
                << shape.size() << " points, kind " << static_cast<int>(kind);
            EXPECT_NEAR(planes.glow_total(), planes.core_total(), 1e-3);
        }
    }
}

TEST(PolygonCoverage, BadShapesAndFramesStayInside)
{
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    {
        Planes planes(16, 16);
        planes.fill({{1, 1}, {nan, 5}, {8, 8}}, piece);
        planes.fill({{1, 1}, {inf, 5}, {8, 8}}, blade);
        EXPECT_TRUE(planes.all_zero());
        // No area: only the one-sub-sample minimum width of every span, along 128 sub-rows.
        planes.fill({{1, 1}, {5, 5}, {9, 9}}, piece);
        planes.fill({{4, 4}, {4, 4}, {4, 4}}, blade);
        EXPECT_LE(planes.core_total(), 128.0 * 2.0 / 256.0);
    }
    for (PolygonKind kind : {blade, piece}) {
        SCOPED_TRACE(::testing::Message() << "kind " << static_cast<int>(kind));
        Planes planes(16, 16);
        planes.fill({{-1e30f, -1e30f}, {3e38f, -2e30f}, {1e31f, 3e38f}, {-3e38f, 1e30f}}, kind);
        for (std::int32_t y = 0; y < 16; ++y) {
            for (std::int32_t x = 0; x < 16; ++x) {
                EXPECT_TRUE(std::isfinite(planes.core_at(x, y)));
                EXPECT_GE(planes.core_at(x, y), 0.0f);
                EXPECT_LE(planes.core_at(x, y), 1.0f);
            }
        }
    }
    for (auto [w, h] :
         {std::pair{0, 0}, std::pair{1, 1}, std::pair{0, 5}, std::pair{5, 0}, std::pair{1, 7}, std::pair{7, 1}}) {
        Planes planes(w, h);
        planes.fill(rectangle(-3.0f, -3.0f, 20.0f, 20.0f), piece);
        planes.fill(rectangle(0.2f, 0.2f, 0.7f, 0.7f), blade);
        if (w > 0 && h > 0) {
            EXPECT_GT(planes.core_at(0, 0), 0.0f);
            EXPECT_LE(planes.core_at(w - 1, h - 1), 1.2f);
        }
    }
}

// Coverage as the row jobs give it walking every edge of the whole sorted list over every sub-row
// of the planes, in one job: what fill_polygon_coverage must match bit for bit.
Planes whole_list_coverage(std::int32_t width, std::int32_t height, const std::vector<OutlinePoint>& points,
                           PolygonKind kind, float intensity)
{
    Planes planes(width, height);
    const kyrox::CoverageParams params{16, 0.00390625f, 0.0625f, points, intensity};
    std::vector<OutlinePoint> kept = points;
    std::ranges::transform(kept, kept.begin(), kyrox::clamp_to_limit);
    const std::vector<kyrox::EdgeRecord> edges = kyrox::make_sorted_edges(kept, 16.0f);
    const kyrox::CoverageJob job{0, &params, edges, kind, &planes.glow, &planes.core, intensity, width};
    kyrox::polygon_rows_job({0, 16 * height, 0}, job);
    return planes;
}

// The points from a to b, one every step pixels, b left out.
void append_line(std::vector<OutlinePoint>& out, OutlinePoint a, OutlinePoint b, std::int32_t steps)
{
    for (std::int32_t i = 0; i < steps; ++i) {
        const float t = static_cast<float>(i) / static_cast<float>(steps);
        out.push_back({(1.0f - t) * a.x + t * b.x, (1.0f - t) * a.y + t * b.y});
    }
}

// A square of the 32 x 32 plane with one corner drawn out to far, along many short edges.
std::vector<OutlinePoint> far_corner(OutlinePoint far, std::int32_t steps)
{
    std::vector<OutlinePoint> points;
    append_line(points, {4.0f, 4.0f}, far, steps);
    append_line(points, far, {28.0f, 28.0f}, steps);
    points.push_back({4.0f, 28.0f});
    return points;
}

TEST(PolygonCoverage, OutlinesReachingFarOutsideMatchTheWholeEdgeList)
{
    struct Case {
        const char* name;
        std::vector<OutlinePoint> points;
    };
    std::vector<OutlinePoint> retraced;  // there and back along the same points: crossings of equal x
    append_line(retraced, {-3e5f, 2.0f}, {30.0f, 29.5f}, 4000);
    append_line(retraced, {30.0f, 29.5f}, {-3e5f, 2.0f}, 4000);
    const std::vector<Case> cases{
        {"right", far_corner({1e6f, 20.0f}, 5000)},
        {"left", far_corner({-1e6f, 16.0f}, 5000)},
        {"below", far_corner({20.0f, 1e6f}, 5000)},
        {"above left", far_corner({-1e6f, -1e6f}, 5000)},
        // Axis-aligned sides share their ymin in pairs, so their order is the sort's to choose.
        {"wide rectangle", rectangle(-1e6f, 3.0f, 2e6f, 29.0f)},
        {"tall rectangle", rectangle(3.5f, -1e6f, 12.0f, 3e6f)},
        {"retraced line", retraced},
        {"huge and finite", {{-3e38f, 5.0f}, {3e38f, 9.0f}, {7.0f, 3e38f}, {5.0f, 12.0f}}},
    };
    for (const Case& c : cases) {
        for (PolygonKind kind : {blade, piece}) {
            for (float intensity : {1.0f, 0.37f}) {
                SCOPED_TRACE(::testing::Message()
                             << c.name << ", kind " << static_cast<int>(kind) << ", intensity " << intensity);
                Planes planes(32, 32);
                planes.fill(c.points, kind, intensity);
                const Planes expected = whole_list_coverage(32, 32, c.points, kind, intensity);
                EXPECT_GT(expected.core_total(), 0.0);
                for (std::int32_t y = 0; y < 32; ++y) {
                    for (std::int32_t x = 0; x < 32; ++x) {
                        ASSERT_EQ(planes.core_at(x, y), expected.core_at(x, y)) << x << ", " << y;
                        ASSERT_EQ(planes.glow_at(x, y), expected.glow_at(x, y)) << x << ", " << y;
                    }
                }
            }
        }
    }
}

TEST(PolygonCoverage, MillionPointsOutsideTheFrameCoverWhatTheirCornerCovers)
{
    // A corner drawn out 10^6 px to the left along 10^6 points covers the plane as the four points
    // of its corners do, up to a sub-row where rounding moves a short edge's crossing past one.
    Planes planes(32, 32);
    planes.fill(far_corner({-1e6f, 16.0f}, 500000), piece);
    Planes corners(32, 32);
    corners.fill({{4.0f, 4.0f}, {-1e6f, 16.0f}, {28.0f, 28.0f}, {4.0f, 28.0f}}, piece);
    EXPECT_GT(corners.core_total(), 50.0);
    for (std::int32_t y = 0; y < 32; ++y) {
        for (std::int32_t x = 0; x < 32; ++x) {
            EXPECT_NEAR(planes.core_at(x, y), corners.core_at(x, y), 1.0f / 16.0f) << x << ", " << y;
        }
    }
}

TEST(AccumulateSpan, AddsEveryPixelOfTheRunAndClampsTheGlowAtZero)
{
    for (std::int32_t end : {1, 3, 4, 5, 8, 11}) {
        SCOPED_TRACE(::testing::Message() << "row end " << end);
        std::vector<float> glow(12, 0.5f);
        std::vector<float> core(12, 0.0f);
        kyrox::accumulate_span({glow, core, -2.0f}, 0, end, 0.125f);
        for (std::int32_t p = 0; p < 12; ++p) {
            EXPECT_EQ(core[static_cast<std::size_t>(p)], p < end ? 0.125f : 0.0f) << end << " " << p;
            EXPECT_EQ(glow[static_cast<std::size_t>(p)], p < end ? 0.25f : 0.5f) << end << " " << p;
        }
        kyrox::accumulate_span({glow, core, -4.0f}, 0, end, 0.125f);
        EXPECT_EQ(glow[0], 0.0f);
    }
}

}  // namespace
