#pragma once

// Reading a parameter's value by ID at the input record's current time. A checkout the host refuses
// leaves the zero-filled record, which reads as 0 (false, item 0, 0 radians).
#include <cstdint>

#include "plugin/host/command_context.h"

namespace kyrox {

// A copy of the parameter's record, checked out and back in at once.
PF_ParamDef read_param(const CommandContext& context, std::int32_t id);

float get_float_param(const CommandContext& context, std::int32_t id);
// Radians.
float get_angle_param(const CommandContext& context, std::int32_t id);
// 1-based item.
std::int32_t get_popup_param(const CommandContext& context, std::int32_t id);
bool get_checkbox_param(const CommandContext& context, std::int32_t id);

}  // namespace kyrox
