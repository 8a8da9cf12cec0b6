#include "qxsdk/ui/core/tooltip_state.h"

#include <gtest/gtest.h>

namespace {

using namespace qxsdk::ui;
using action = tooltip_state::action;

// A widget with two regions; the cursor rests in the first.
class TooltipStateTest : public ::testing::Test {
protected:
    TooltipStateTest()
    {
        state.add_region(w, {{0, 0, 10, 10}, "first", "one"});
        state.add_region(w, {{20, 0, 10, 10}, "second", "two"});
    }

    widget w;
    tooltip_state state;
};

TEST_F(TooltipStateTest, ShowsAfterRestingThreeQuartersOfASecondAndHidesAfterSix)
{
    EXPECT_EQ(state.tick(&w, {10, 10}, false).what, action::hide);  // a new widget; edges belong to a region
    EXPECT_EQ(state.tick(&w, {10, 10}, false).what, action::hide);  // a new region
    int ticks = 0;
    tooltip_state::decision d;
    while ((d = state.tick(&w, {10, 10}, false)).what == action::none) {
        ++ticks;
    }
    EXPECT_EQ(d.what, action::show);
    ASSERT_NE(d.region, nullptr);
    EXPECT_EQ(d.region->title, "first");
    EXPECT_EQ(ticks, 7);  // elapsed 0.1 .. 0.7, then 0.8 > 0.75 shows
    while ((d = state.tick(&w, {5, 5}, true)).what == action::none) {
    }
    EXPECT_EQ(d.what, action::hide);
    EXPECT_GE(state.elapsed(), 6.0f);
}

TEST_F(TooltipStateTest, MovingToAnotherRegionOrOutsideStartsAgain)
{
    state.tick(&w, {5, 5}, false);
    state.tick(&w, {5, 5}, false);
    state.tick(&w, {5, 5}, false);
    EXPECT_EQ(state.tick(&w, {25, 5}, false).what, action::hide);
    EXPECT_FLOAT_EQ(state.elapsed(), 0.1f);
    EXPECT_EQ(state.tick(&w, {15, 5}, false).what, action::hide);  // between the regions
    EXPECT_FLOAT_EQ(state.elapsed(), 0.1f);
    // Outside, the current region became the last one: resting there counts on.
    EXPECT_EQ(state.tick(&w, {25, 5}, false).what, action::none);
}

}  // namespace
