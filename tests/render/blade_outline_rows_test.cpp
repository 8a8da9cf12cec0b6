// A blade outline built for the rows of the plane it is filled on, against the one built over every
// row: however far the outline reaches beyond the plane, the coverage and the bounds stay the same bit
// for bit.
#include "plugin/render/outline/blade_outline.h"

#include "plugin/render/coverage/polygon_coverage.h"
#include "plugin/render/float_plane.h"
#include "plugin/render/frame_values.h"
#include "plugin/render/outline/elliptic_cap.h"
#include "tests/render/plane_fixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cstdint>
#include <string>
#include <vector>

namespace {

using kyrox::CapSize;
using kyrox::CoreSegment;
using kyrox::CorePolygon;
using kyrox::FloatPlane;
using kyrox::OutlinePoint;

struct RowsCase {
    std::string name;
    std::vector<CoreSegment> samples;
    CapSize cap;
    std::int32_t width;
    std::int32_t height;
    bool covers_plane;
};

// count samples, the first at from, each next moved by step.
std::vector<CoreSegment> moving(std::int32_t count, CoreSegment from, CoreSegment step)
{
    std::vector<CoreSegment> samples;
    for (std::int32_t i = 0; i < count; ++i) {
        const auto t = static_cast<float>(i);
        samples.push_back({from.start_x + t * step.start_x, from.start_y + t * step.start_y,
                           from.end_x + t * step.end_x, from.end_y + t * step.end_y});
    }
    return samples;
}

std::vector<RowsCase> rows_cases()
{
    return {
        {"many samples moving thousands of pixels over a 35 x 4 plane",
         moving(400, {-2990.0f, -2010.0f, -2960.0f, -2000.0f}, {15.0f, 10.0f, 15.0f, 10.0f}),
         {3.0f, 2.0f},
         35,
         4,
         true},
        {"a 20,000 px blade swinging 20,000 px",
         moving(200, {-9952.0f, -10000.0f, 10048.0f, 10000.0f}, {100.0f, 0.0f, -100.0f, 0.0f}),
         {4.0f, 3.0f},
         96,
         96,
         true},
        {"caps thousands of pixels long",
         moving(3, {40.0f, 30.0f, 50.0f, 60.0f}, {5.0f, 2.0f, 5.0f, 2.0f}),
         {3.0f, 4000.0f},
         96,
         96,
         true},
        // Left and right meet on whole rows, where the fill takes edges of equal ymin in the whole list's order.
        {"no width, ends on whole rows",
         moving(300, {20.0f, -3000.0f, 21.0f, -2990.0f}, {0.0f, 20.0f, 0.0f, 20.0f}),
         {0.0f, 0.0f},
         40,
         24,
         true},
        {"all below the plane",
         moving(50, {0.0f, 500.0f, 30.0f, 520.0f}, {1.0f, 90.0f, 1.0f, 90.0f}),
         {2.0f, 2.0f},
         32,
         32,
         false},
        {"all above the plane",
         moving(50, {0.0f, -5000.0f, 30.0f, -4980.0f}, {1.0f, 90.0f, 1.0f, 90.0f}),
         {2.0f, 2.0f},
         32,
         32,
         false},
    };
}

std::vector<std::uint32_t> plane_bits(const FloatPlane& plane)
{
    std::vector<std::uint32_t> bits;
    for (std::int32_t y = 0; y < plane.height(); ++y) {
        for (const float cell : plane.row(y)) {
            bits.push_back(std::bit_cast<std::uint32_t>(cell));
        }
    }
    return bits;
}

struct Filled {
    std::vector<std::uint32_t> glow;
    std::vector<std::uint32_t> core;
};

Filled fill(const std::vector<OutlinePoint>& points, std::int32_t width, std::int32_t height)
{
    FloatPlane glow(kyrox::testing::sized_view(width, height));
    FloatPlane core(kyrox::testing::sized_view(width, height));
    kyrox::fill_polygon_coverage({16, 0.00390625f, 0.0625f, points, 1.0f}, glow, core, kyrox::PolygonKind::blade);
    return {plane_bits(glow), plane_bits(core)};
}

kyrox::OutlineBounds bounds_of(const std::vector<OutlinePoint>& points)
{
    const std::vector<CorePolygon> polygons{{kyrox::PolygonKind::blade, 1.0f, points}};
    return kyrox::outline_bounds(polygons);
}

TEST(BladeOutlineRows, BuiltForThePlaneRowsItFillsTheSameCellsWithTheSameBounds)
{
    kyrox::WorkerPool pool(3);
    for (const RowsCase& c : rows_cases()) {
        SCOPED_TRACE(c.name);
        const std::int32_t points = kyrox::cap_point_count(c.cap);
        const kyrox::BladeShape shape{0.0f, 1.0f, c.cap, c.cap, points, points};
        const std::vector<OutlinePoint> every_row = kyrox::build_blade_outline(pool, c.samples, shape);
        const std::vector<OutlinePoint> plane_rows = kyrox::build_blade_outline(pool, c.samples, shape, {0, c.height});
        ASSERT_EQ(plane_rows.size(), every_row.size());
        ASSERT_GT(every_row.size(), 2u);
        // The case reaches well beyond the rows the plane's coverage reads, -1 to height.
        const float top = every_row.front().y;
        const float bottom = every_row[every_row.size() / 2 - 1].y;
        EXPECT_TRUE(top < -100.0f || bottom > static_cast<float>(c.height) + 100.0f) << top << " " << bottom;
        // Every point keeps its row; those the coverage reads keep their x as well.
        std::size_t moved = 0;
        for (std::size_t i = 0; i < every_row.size(); ++i) {
            const OutlinePoint p = every_row[i];
            const bool read = p.y >= -1.0f && p.y <= static_cast<float>(c.height);
            moved += std::bit_cast<std::uint32_t>(plane_rows[i].y) != std::bit_cast<std::uint32_t>(p.y) ||
                     (read && std::bit_cast<std::uint32_t>(plane_rows[i].x) != std::bit_cast<std::uint32_t>(p.x));
        }
        EXPECT_EQ(moved, 0u);
        const kyrox::OutlineBounds expected = bounds_of(every_row);
        const kyrox::OutlineBounds bounds = bounds_of(plane_rows);
        EXPECT_EQ(bounds.min_x, expected.min_x);
        EXPECT_EQ(bounds.max_x, expected.max_x);
        EXPECT_EQ(bounds.min_y, expected.min_y);
        EXPECT_EQ(bounds.max_y, expected.max_y);
        const Filled want = fill(every_row, c.width, c.height);
        const Filled got = fill(plane_rows, c.width, c.height);
        EXPECT_TRUE(got.glow == want.glow);
        EXPECT_TRUE(got.core == want.core);
        EXPECT_EQ(std::any_of(want.core.begin(), want.core.end(), [](std::uint32_t v) { return v != 0; }),
                  c.covers_plane);
    }
}

}  // namespace
