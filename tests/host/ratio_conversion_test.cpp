#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

#include "plugin/host/param_reading.h"

namespace {

struct RatioCase {
    PF_RationalScale ratio;
    float fraction;
    float inverse;
    std::int32_t downsample;
};

TEST(HostRatios, AreTheQuotientsInFloatAndOneWhenMalformed)
{
    constexpr A_long long_max = std::numeric_limits<A_long>::max();
    constexpr A_long long_min = std::numeric_limits<A_long>::min();
    constexpr A_u_long den_max = std::numeric_limits<A_u_long>::max();
    const RatioCase cases[] = {
        {{1, 1}, 1.0f, 1.0f, 1},
        {{1, 2}, 0.5f, 2.0f, 2},
        {{1, 3}, 1.0f / 3.0f, 3.0f, 3},
        {{2, 3}, 2.0f / 3.0f, 1.5f, 1},
        {{10, 11}, 10.0f / 11.0f, 11.0f / 10.0f, 1},
        {{2, 1}, 2.0f, 0.5f, 1},
        // Huge terms: the quotient of their floats; a factor beyond the 32-bit range saturates.
        {{1, den_max}, 1.0f / 4294967296.0f, 4294967296.0f, long_max},
        {{long_max, 1}, 2147483648.0f, 1.0f / 2147483648.0f, 1},
        {{long_max, den_max}, 0.5f, 2.0f, 2},
        // Malformed: a zero denominator, a zero or negative numerator.
        {{1, 0}, 1.0f, 1.0f, 1},
        {{0, 0}, 1.0f, 1.0f, 1},
        {{0, 2}, 1.0f, 1.0f, 1},
        {{-1, 2}, 1.0f, 1.0f, 1},
        {{long_min, den_max}, 1.0f, 1.0f, 1},
    };
    for (const RatioCase& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.ratio.num << " / " << c.ratio.den);
        EXPECT_EQ(kyrox::ratio_fraction(c.ratio.num, c.ratio.den), c.fraction);
        EXPECT_EQ(kyrox::inverse_ratio(c.ratio), c.inverse);
        EXPECT_EQ(kyrox::downsample_factor(c.ratio), c.downsample);
    }
}

}  // namespace
