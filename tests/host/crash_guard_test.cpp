#include "plugin/host/crash_guard.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

TEST(CrashGuard, NormalBodyReportsSuccess)
{
    int runs = 0;
    auto body = [&] { ++runs; };
    EXPECT_TRUE(kyrox::run_guarded(body));
    EXPECT_EQ(runs, 1);
}

}  // namespace
