#pragma once

// Reading a parameter's value by ID at the input record's current time. A checkout the host refuses
// leaves the zero-filled record, which reads as 0 (false, item 0, 0 radians).
#include <cstdint>

#include "plugin/host/command_context.h"
#include "plugin/host/param_table.h"

namespace kyrox {

// A copy of the parameter's record, checked out and back in at once.
PF_ParamDef read_param(const CommandContext& context, std::int32_t id);

float get_float_param(const CommandContext& context, std::int32_t id);
// Radians.
float get_angle_param(const CommandContext& context, std::int32_t id);
// 1-based item.
std::int32_t get_popup_param(const CommandContext& context, std::int32_t id);
bool get_checkbox_param(const CommandContext& context, std::int32_t id);

// A float slider's value as the effect can use it whatever the host sends (scripts, expressions or a
// faulty host may bypass the slider): a value that is not finite counts as the default, any other is
// clamped into the valid range.
float bounded_float(double value, const ParamEntry& slider) noexcept;

template <std::int32_t id>
float get_bounded_float_param(const CommandContext& context)
{
    static_assert(param_row_of(id) < param_table.size() &&
                  param_table[param_row_of(id)].kind == ParamKind::float_slider);
    return bounded_float(read_param(context, id).u.fs_d.value, param_table[param_row_of(id)]);
}

}  // namespace kyrox
