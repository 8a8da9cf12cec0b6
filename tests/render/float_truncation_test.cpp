#include "plugin/render/float_truncation.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>

namespace {

constexpr std::int32_t int32_max = std::numeric_limits<std::int32_t>::max();
constexpr std::int32_t int32_min = std::numeric_limits<std::int32_t>::min();

template <class T>
struct TruncationCase {
    T value;
    std::int32_t truncated;
};

TEST(TruncateToInt32, DoublesTruncateTowardZeroAndSaturateAtTheEndsOfTheRange)
{
    const double inf = std::numeric_limits<double>::infinity();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const TruncationCase<double> cases[] = {
        {0.0, 0},
        {-0.0, 0},
        {0.9, 0},
        {-0.9, 0},
        {1.5, 1},
        {-1.5, -1},
        {std::nextafter(2147483647.0, 0.0), 2147483646},
        {2147483647.0, int32_max},
        {2147483647.5, int32_max},
        {2147483648.0, int32_max},
        {1e300, int32_max},
        {-2147483647.9, -2147483647},
        {-2147483648.0, int32_min},
        {-2147483648.9, int32_min},
        {-2147483649.0, int32_min},
        {-1e300, int32_min},
        {inf, int32_max},
        {-inf, int32_min},
        {nan, 0},
        {-nan, 0},
    };
    for (const TruncationCase<double>& c : cases) {
        EXPECT_EQ(kyrox::truncate_to_int32(c.value), c.truncated) << c.value;
    }
}

// A float truncates as the double it widens to, so a caller may hand over either.
TEST(TruncateToInt32, FloatsTruncateAsTheirDoublesDo)
{
    const float inf = std::numeric_limits<float>::infinity();
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const TruncationCase<float> cases[] = {
        {0.9f, 0},
        {-0.9f, 0},
        {1.5f, 1},
        {-1.5f, -1},
        {std::nextafter(2147483648.0f, 0.0f), 2147483520},
        {2147483648.0f, int32_max},
        {3e38f, int32_max},
        {std::nextafter(-2147483648.0f, 0.0f), -2147483520},
        {-2147483648.0f, int32_min},
        {std::nextafter(-2147483648.0f, -inf), int32_min},
        {-3e38f, int32_min},
        {inf, int32_max},
        {-inf, int32_min},
        {nan, 0},
    };
    for (const TruncationCase<float>& c : cases) {
        EXPECT_EQ(kyrox::truncate_to_int32(c.value), c.truncated) << c.value;
        EXPECT_EQ(kyrox::truncate_to_int32(static_cast<double>(c.value)), c.truncated) << c.value;
    }
}

}  // namespace
