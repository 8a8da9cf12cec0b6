#include "qxsdk/ui/core/timer_table.h"

#include <gtest/gtest.h>

#include "qxsdk/ui/core/widget.h"

namespace {

using namespace qxsdk::ui;

TEST(TimerTable, IdsCountUpAndKeysAreFoundPerOwner)
{
    timer_table timers;
    widget a;
    widget b;
    EXPECT_EQ(timers.add(a, 1, false), 1u);
    EXPECT_EQ(timers.add(b, 1, true), 2u);
    EXPECT_EQ(timers.add(a, 1, true), 3u);
    EXPECT_EQ(timers.find(a, 1), 1u);  // the first of the owner's timers with the key
    EXPECT_EQ(timers.find(b, 1), 2u);
    EXPECT_EQ(timers.find(b, 7), std::nullopt);

    timers.remove(1);
    EXPECT_EQ(timers.find(a, 1), 3u);
    EXPECT_EQ(timers.at(1), std::nullopt);
    const auto entry = timers.at(3);
    ASSERT_TRUE(entry);
    EXPECT_EQ(entry->owner, &a);
    EXPECT_TRUE(entry->one_shot);
    EXPECT_EQ(timers.add(b, 2, false), 4u);  // ids are never handed out twice
    EXPECT_EQ(timers.any_of(b), 2u);
    timers.remove(2);
    timers.remove(4);
    EXPECT_EQ(timers.any_of(b), std::nullopt);
}

}  // namespace
