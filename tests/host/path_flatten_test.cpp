#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "plugin/host/path_flatten.h"
#include "plugin/host/path_window.h"

namespace {

using kyrox::FlatPoint;
using kyrox::PathPoint;
using kyrox::PathVertex;

PathVertex corner(float x, float y)
{
    return {x, y, 0.0f, 0.0f, 0.0f, 0.0f};
}

TEST(PathFlatten, StraightSegmentOfHundredPixelsGivesFiftyPointsTwoApart)
{
    const std::vector<PathVertex> line = {corner(0, 0), corner(100, 0)};
    const std::vector<FlatPoint> points = kyrox::flatten_path(line, false, 1.0f);
    ASSERT_EQ(points.size(), 50u);
    for (std::size_t i = 0; i < points.size(); ++i) {
        EXPECT_FLOAT_EQ(points[i].x, 2.0f * static_cast<float>(i));
        EXPECT_FLOAT_EQ(points[i].y, 0.0f);
    }
}

TEST(PathFlatten, StraightCountKeepsAtHalfResolutionWhileCurvedCountHalves)
{
    const std::vector<PathVertex> line = {corner(0, 0), corner(100, 0)};
    const std::vector<FlatPoint> half = kyrox::flatten_path(line, false, 0.5f);
    ASSERT_EQ(half.size(), 50u);
    EXPECT_FLOAT_EQ(half[1].x, 1.0f);

    const std::vector<PathVertex> arc = {{0, 0, 0, 0, 0, -60}, {200, 0, 0, -60, 0, 0}};
    const std::size_t full_count = kyrox::flatten_path(arc, false, 1.0f).size();
    const std::size_t half_count = kyrox::flatten_path(arc, false, 0.5f).size();
    EXPECT_GT(full_count, 100u);
    EXPECT_NEAR(static_cast<double>(half_count), full_count / 2.0, 1.0);
}

TEST(PathFlatten, ClosedOutlineEndsOnItsFirstPoint)
{
    const std::vector<PathVertex> square = {corner(0, 0), corner(10, 0), corner(10, 10), corner(0, 10), corner(0, 0)};
    const std::vector<FlatPoint> points = kyrox::flatten_path(square, true, 1.0f);
    ASSERT_EQ(points.size(), 4u * 5u + 1u);
    EXPECT_FLOAT_EQ(points.back().x, 0.0f);
    EXPECT_FLOAT_EQ(points.back().y, 0.0f);
}

TEST(PathFlatten, ShortSegmentStillGivesOnePoint)
{
    const std::vector<PathVertex> line = {corner(0, 0), corner(0.2f, 0), corner(0.4f, 0)};
    EXPECT_EQ(kyrox::flatten_path(line, false, 1.0f).size(), 2u);
}

constexpr float nan_value = std::numeric_limits<float>::quiet_NaN();
constexpr float inf_value = std::numeric_limits<float>::infinity();

struct BadOutline {
    const char* what;
    std::vector<PathVertex> vertices;
};

class BadOutlines : public ::testing::TestWithParam<BadOutline> {};

// Broken outlines give nothing to draw instead of faulting, hanging or exhausting memory.
TEST_P(BadOutlines, YieldNoPiece)
{
    const std::vector<FlatPoint> points = kyrox::flatten_path(GetParam().vertices, true, 1.0f);
    std::vector<std::vector<PathPoint>> pieces;
    kyrox::cut_path_pieces(points, kyrox::PathWindow{}, pieces);
    EXPECT_TRUE(pieces.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Outlines, BadOutlines,
    ::testing::Values(BadOutline{"none", {}}, BadOutline{"one vertex", {corner(5, 5)}},
                      BadOutline{"coincident", {corner(5, 5), corner(5, 5), corner(5, 5)}},
                      BadOutline{"nan position", {corner(0, 0), corner(nan_value, 3), corner(0, 0)}},
                      BadOutline{"infinite position", {corner(0, 0), corner(inf_value, 3), corner(0, 0)}},
                      BadOutline{"nan tangent", {corner(0, 0), {10, 0, nan_value, 0, 0, 0}, corner(0, 0)}},
                      BadOutline{"huge coordinates", {corner(0, 0), corner(3e38f, -3e38f), corner(0, 0)}},
                      BadOutline{"huge tangents", {{0, 0, 0, 0, 3e38f, 3e38f}, {10, 0, -3e38f, 3e38f, 0, 0}}},
                      BadOutline{"too long", {corner(0, 0), corner(1e7f, 0), corner(0, 0)}}));

TEST(PathFlatten, TooManyVerticesYieldNoPoints)
{
    std::vector<PathVertex> many(kyrox::max_outline_vertices + 2);
    for (std::size_t i = 0; i < many.size(); ++i) {
        many[i] = corner(static_cast<float>(i % 2), static_cast<float>(i));
    }
    EXPECT_TRUE(kyrox::flatten_path(many, false, 1.0f).empty());
}

// A straight open outline 1000 px long; its last emitted point is at 998, so u = s / 998.
std::vector<FlatPoint> straight_line()
{
    return kyrox::flatten_path(std::vector<PathVertex>{corner(0, 0), corner(1000, 0)}, false, 1.0f);
}

// A closed square of side 250 (perimeter 1000) starting at the origin.
std::vector<FlatPoint> square()
{
    const std::vector<PathVertex> v = {corner(0, 0), corner(250, 0), corner(250, 250), corner(0, 250), corner(0, 0)};
    return kyrox::flatten_path(v, true, 1.0f);
}

kyrox::PathWindow window(float start, float end, float evolution = 0.0f)
{
    kyrox::PathWindow w;
    w.start_offset = start;
    w.end_offset = end;
    w.evolution = evolution;
    w.start_half_width = 10.0f;
    w.end_half_width = 0.0f;
    w.start_cap = 1.0f;
    w.end_cap = 3.0f;
    return w;
}

std::vector<std::vector<PathPoint>> cut(const std::vector<FlatPoint>& points, const kyrox::PathWindow& w)
{
    std::vector<std::vector<PathPoint>> pieces;
    kyrox::cut_path_pieces(points, w, pieces);
    return pieces;
}

TEST(PathWindow, WholeClosedOutlineIsOnePieceEndingOnItsStart)
{
    const auto pieces = cut(square(), window(0.0f, 1.0f));
    ASSERT_EQ(pieces.size(), 1u);
    EXPECT_EQ(pieces[0].size(), square().size());
    EXPECT_FLOAT_EQ(pieces[0].back().x, 0.0f);
    EXPECT_FLOAT_EQ(pieces[0].back().y, 0.0f);
    EXPECT_FLOAT_EQ(pieces[0].front().half_width, 10.0f);
    EXPECT_NEAR(pieces[0].back().half_width, 0.0f, 1e-4f);
}

class WindowOrder : public ::testing::TestWithParam<std::pair<float, float>> {};

TEST_P(WindowOrder, KeepsTheSpanBetweenTheOffsets)
{
    const auto pieces = cut(straight_line(), window(GetParam().first, GetParam().second));
    ASSERT_EQ(pieces.size(), 1u);
    EXPECT_NEAR(pieces[0].front().x, 0.2f * 998.0f, 1e-2f);
    EXPECT_NEAR(pieces[0].back().x, 0.8f * 998.0f, 1e-2f);
    EXPECT_NEAR(pieces[0].front().half_width, 10.0f, 1e-4f);
    EXPECT_NEAR(pieces[0].back().half_width, 0.0f, 1e-3f);
}

INSTANTIATE_TEST_SUITE_P(Orders, WindowOrder, ::testing::Values(std::pair{0.2f, 0.8f}, std::pair{0.8f, 0.2f}));

TEST(PathWindow, HalfTurnOfEvolutionSplitsAClosedOutlineInTwo)
{
    const auto pieces = cut(square(), window(0.2f, 0.8f, 0.5f));
    ASSERT_EQ(pieces.size(), 2u);
    // u starts at 0.5 and leaves the window at 0.8: the first piece runs from the start to s = 300.
    EXPECT_FLOAT_EQ(pieces[0].front().x, 0.0f);
    EXPECT_FLOAT_EQ(pieces[0].front().y, 0.0f);
    EXPECT_NEAR(pieces[0].back().x, 250.0f, 1e-2f);
    EXPECT_NEAR(pieces[0].back().y, 50.0f, 1e-2f);
    // It enters again at u = 0.2, s = 700, and runs to the end of the outline.
    EXPECT_NEAR(pieces[1].front().x, 50.0f, 1e-2f);
    EXPECT_NEAR(pieces[1].front().y, 250.0f, 1e-2f);
    EXPECT_FLOAT_EQ(pieces[1].back().x, 0.0f);
    EXPECT_FLOAT_EQ(pieces[1].back().y, 0.0f);
}

TEST(PathWindow, NegativeQuarterTurnStartsUAtAQuarter)
{
    // Window [0, 0.5]: with u starting at 0.25 the piece ends at s = 250, a quarter of the way.
    const auto pieces = cut(square(), window(0.0f, 0.5f, -0.25f));
    ASSERT_GE(pieces.size(), 1u);
    EXPECT_FLOAT_EQ(pieces[0].front().x, 0.0f);
    EXPECT_NEAR(pieces[0].back().x, 250.0f, 1e-2f);
    EXPECT_NEAR(pieces[0].back().y, 0.0f, 1e-2f);
    // The ramp value of the first point is its u.
    EXPECT_NEAR(pieces[0].front().half_width, 10.0f * (1.0f - 0.5f), 1e-3f);
}

TEST(PathWindow, OffsetSizeOffShowsOnlyItsPartOfTheWholeTaper)
{
    kyrox::PathWindow w = window(0.2f, 0.8f);
    w.offset_size = false;
    const auto pieces = cut(straight_line(), w);
    ASSERT_EQ(pieces.size(), 1u);
    EXPECT_NEAR(pieces[0].front().half_width, 8.0f, 1e-3f);
    EXPECT_NEAR(pieces[0].back().half_width, 2.0f, 1e-3f);
    EXPECT_NEAR(pieces[0].front().cap_length, 0.8f * 1.0f + 0.2f * 3.0f, 1e-4f);
}

struct ExtremeWindow {
    float start, end, evolution;
    bool offset_size = true;
    float size = 1.0f;  // scales the fixture's widths and caps
};

class ExtremeWindows : public ::testing::TestWithParam<ExtremeWindow> {};

TEST_P(ExtremeWindows, GiveFiniteWidths)
{
    const ExtremeWindow& c = GetParam();
    kyrox::PathWindow w = window(c.start, c.end, c.evolution);
    w.offset_size = c.offset_size;
    w.start_half_width *= c.size;
    w.end_half_width *= c.size;
    w.start_cap *= c.size;
    w.end_cap *= c.size;
    for (const auto& piece : cut(square(), w)) {
        for (const PathPoint& p : piece) {
            EXPECT_TRUE(std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.half_width) &&
                        std::isfinite(p.cap_length));
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Windows, ExtremeWindows,
                         ::testing::Values(ExtremeWindow{0.5f, 0.5f, 0.0f}, ExtremeWindow{-5.0f, 10.0f, 0.0f},
                                           ExtremeWindow{1.0f, 1.0f, 0.99f}, ExtremeWindow{0.0f, 1.0f, -0.999f},
                                           ExtremeWindow{nan_value, 1.0f, 0.0f}, ExtremeWindow{1e30f, -1e30f, 0.3f},
                                           // Offset Size off: the ramp position is the offset itself, and
                                           // 1e38 % entering after the wrap takes the taper past the float range.
                                           ExtremeWindow{-1e36f, 0.5f, 0.5f, false, 40.0f},
                                           ExtremeWindow{0.5f, -1e36f, 0.5f, false, 40.0f},
                                           ExtremeWindow{-3.4e36f, 0.25f, 0.5f, false, 1e3f}));

}  // namespace
