#include "common/unique_any.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace {

// Handles are small numbers; -1 is none, so 0 is a handle like any other.
constexpr int none = -1;

// Writes down each handle it releases, in the log it was made with.
struct recorded_release {
    std::vector<int>* log = nullptr;
    void operator()(int handle) const noexcept { log->push_back(handle); }
};
using owner = kyrox::unique_any<int, recorded_release, none>;

struct no_release {
    void operator()(int*) const noexcept {}
};
static_assert(sizeof(kyrox::unique_any<int*, no_release>) == sizeof(int*), "a release without state costs nothing");

TEST(UniqueAny, ReleasesEachHandleOnceAndNeverTheEmptyValue)
{
    std::vector<int> log;
    {
        const owner empty(none, {&log});
        EXPECT_FALSE(empty);
        const owner zero(0, {&log});
        EXPECT_TRUE(zero);
        EXPECT_EQ(zero.get(), 0);
        EXPECT_TRUE(log.empty());
    }
    EXPECT_EQ(log, std::vector<int>{0});

    log.clear();
    {
        owner held(1, {&log});
        held.reset(2);
        EXPECT_EQ(log, std::vector<int>{1});
        held.reset();
        EXPECT_FALSE(held);
        held.reset();
        EXPECT_EQ(log, (std::vector<int>{1, 2}));
    }
    EXPECT_EQ(log, (std::vector<int>{1, 2}));
}

TEST(UniqueAny, ReleaseGivesTheHandleUpUnreleased)
{
    std::vector<int> log;
    {
        owner held(5, {&log});
        EXPECT_EQ(held.release(), 5);
        EXPECT_FALSE(held);
        EXPECT_EQ(held.get(), none);
    }
    EXPECT_TRUE(log.empty());
}

// Each handle goes back through the release it came with, wherever the owner moved it.
TEST(UniqueAny, MovesAndSwapsCarryTheReleaseWithTheHandle)
{
    std::vector<int> first_log;
    std::vector<int> second_log;
    {
        owner first(1, {&first_log});
        owner moved(std::move(first));
        EXPECT_FALSE(first);
        EXPECT_EQ(moved.get(), 1);

        owner second(2, {&second_log});
        second = std::move(moved);
        EXPECT_EQ(second_log, std::vector<int>{2});
        EXPECT_FALSE(moved);
        EXPECT_EQ(second.get(), 1);

        owner& itself = second;  // a self-move through a reference, as generic code meets it
        second = std::move(itself);
        EXPECT_EQ(second.get(), 1);

        owner third(3, {&second_log});
        swap(second, third);
        EXPECT_EQ(second.get(), 3);
        EXPECT_EQ(third.get(), 1);
        third.reset();
        EXPECT_EQ(first_log, std::vector<int>{1});
    }
    EXPECT_EQ(first_log, std::vector<int>{1});
    EXPECT_EQ(second_log, (std::vector<int>{2, 3}));
}

}  // namespace
