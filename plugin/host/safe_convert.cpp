#include "plugin/host/safe_convert.h"

#include <cmath>
#include <limits>

namespace kyrox {

std::int32_t truncate_to_i32(double value) noexcept
{
    constexpr double lowest = std::numeric_limits<std::int32_t>::min();
    constexpr double highest = std::numeric_limits<std::int32_t>::max();
    if (!(value == value)) {
        return 0;
    }
    if (value <= lowest) {
        return std::numeric_limits<std::int32_t>::min();
    }
    if (value >= highest) {
        return std::numeric_limits<std::int32_t>::max();
    }
    return static_cast<std::int32_t>(value);
}

std::int32_t downsample_factor(const PF_RationalScale& scale) noexcept
{
    if (scale.num <= 0 || scale.den == 0) {
        return 1;
    }
    const float ratio = static_cast<float>(scale.den) / static_cast<float>(scale.num);
    const std::int32_t factor = truncate_to_i32(ratio);
    return factor >= 1 ? factor : 1;
}

float ratio_fraction(A_long num, A_u_long den) noexcept
{
    if (num <= 0 || den == 0) {
        return 1.0f;
    }
    return static_cast<float>(num) / static_cast<float>(den);
}

bool narrow_to_finite(double value, float& out) noexcept
{
    if (!std::isfinite(value) || std::fabs(value) > static_cast<double>(std::numeric_limits<float>::max())) {
        return false;
    }
    out = static_cast<float>(value);
    return true;
}

}  // namespace kyrox
