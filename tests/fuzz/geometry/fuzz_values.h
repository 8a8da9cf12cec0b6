#pragma once

// Values the geometry fuzz targets draw: mostly of the sizes frames and masks have, sometimes of any
// finite size, and where a caller may hand them over, sometimes not finite at all.
#include <cstdint>
#include <limits>

#include <fuzzer/FuzzedDataProvider.h>

namespace kyrox::fuzz {

inline float any_float(FuzzedDataProvider& data)
{
    return data.ConsumeFloatingPoint<float>();
}

// A coordinate: a few pixels around a small frame, a whole number, or any finite float.
inline float coordinate(FuzzedDataProvider& data)
{
    switch (data.ConsumeIntegralInRange<int>(0, 3)) {
    case 0:
        return static_cast<float>(data.ConsumeIntegralInRange<std::int32_t>(-64, 160));
    case 1:
        return data.ConsumeFloatingPointInRange<float>(-200.0f, 300.0f);
    case 2:
        return static_cast<float>(data.ConsumeIntegral<std::int32_t>());
    default:
        return any_float(data);
    }
}

// Like coordinate, but now and then infinite or NaN.
inline float coordinate_or_bad(FuzzedDataProvider& data)
{
    switch (data.ConsumeIntegralInRange<int>(0, 15)) {
    case 0:
        return std::numeric_limits<float>::quiet_NaN();
    case 1:
        return data.ConsumeBool() ? std::numeric_limits<float>::infinity() : -std::numeric_limits<float>::infinity();
    default:
        return coordinate(data);
    }
}

}  // namespace kyrox::fuzz
