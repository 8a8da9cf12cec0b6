#include <gtest/gtest.h>

#include <limits>

#include "minihost/scene_model.h"

namespace {

minihost::MaskShape line_at(double x)
{
    minihost::MaskShape shape;
    for (const double corner_y : {0.0, 10.0}) {
        shape.vertices.push_back({x, corner_y, 0, 0, 0, 0});
    }
    return shape;
}

// Keys at the two ends of the time range lie further apart than A_long holds: the blend between
// them is still the straight line.
TEST(AnimatedMask, BlendsBetweenKeysAtTheEndsOfTheTimeRange)
{
    constexpr A_long first = std::numeric_limits<A_long>::min();
    constexpr A_long last = std::numeric_limits<A_long>::max();
    minihost::AnimatedMask mask;
    mask.keys = {{first, line_at(0.0)}, {last, line_at(100.0)}};
    const struct {
        A_long time;
        double x;
    } cases[] = {
        {first, 0.0}, {0, 100.0 * 2147483648.0 / 4294967295.0}, {last, 100.0}, {-1, 50.0 - 50.0 / 4294967295.0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.time);
        EXPECT_DOUBLE_EQ(mask.at(c.time).vertices.front().x, c.x);
    }
}

}  // namespace
