#include <gtest/gtest.h>

#include "plugin/host/smart_render.h"

namespace {

struct MergeCase {
    const char* what;
    PF_LRect source;
    PF_LRect destination;
    PF_LRect expected;
};

TEST(CopyResultRects, MergesByTheEmptyRules)
{
    const MergeCase cases[] = {
        {"empty destination takes the source", {1, 2, 3, 4}, {0, 0, 0, 0}, {1, 2, 3, 4}},
        {"destination empty by width only", {1, 2, 3, 4}, {5, 0, 5, 9}, {1, 2, 3, 4}},
        {"destination empty by height only", {1, 2, 3, 4}, {0, 7, 9, 6}, {1, 2, 3, 4}},
        {"empty source changes nothing", {4, 4, 4, 8}, {0, 0, 10, 10}, {0, 0, 10, 10}},
        {"inverted source changes nothing", {9, 9, 1, 1}, {0, 0, 10, 10}, {0, 0, 10, 10}},
        {"union of overlapping", {-5, 2, 8, 30}, {0, 0, 10, 10}, {-5, 0, 10, 30}},
        {"union of disjoint", {20, 20, 30, 30}, {0, 0, 10, 10}, {0, 0, 30, 30}},
        {"both empty keeps the source", {3, 3, 3, 3}, {0, 0, 0, 0}, {3, 3, 3, 3}},
    };
    for (const MergeCase& c : cases) {
        SCOPED_TRACE(c.what);
        PF_LRect destination = c.destination;
        kyrox::copy_result_rects(c.source, destination);
        EXPECT_EQ(destination.left, c.expected.left);
        EXPECT_EQ(destination.top, c.expected.top);
        EXPECT_EQ(destination.right, c.expected.right);
        EXPECT_EQ(destination.bottom, c.expected.bottom);
    }
}

}  // namespace
