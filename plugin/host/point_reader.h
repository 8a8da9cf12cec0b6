#pragma once

#include <cstdint>

#include "plugin/host/command_context.h"

namespace kyrox {

struct PointValue {
    float x = 0.0f;
    float y = 0.0f;
};

// A point parameter at the input record's current time, in pixels (16.16 fixed point × 2^-16).
PointValue get_point_param(const CommandContext& context, std::int32_t id);

}  // namespace kyrox
