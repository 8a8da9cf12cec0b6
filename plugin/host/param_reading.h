#pragma once

// Reading parameter values at the input record's current time, the conversions that make any value
// the host sends safe to use, and the distortion groups read as the renderer wants them.

#include <cstdint>

#include "hostapi/pf_basic_types.h"
#include "plugin/host/command_context.h"
#include "plugin/host/param_table.h"
#include "plugin/render/render_inputs.h"

namespace kyrox {

// The host's ratios in single precision. A ratio the host gives malformed (zero or negative numerator, zero
// denominator) gives 1 in each, full resolution and square pixels.

// numerator / denominator (0.5 at half resolution).
float ratio_fraction(A_long num, A_u_long den) noexcept;

// denominator / numerator (2 at half resolution), as the frame target holds downsampling and pixel aspect.
float inverse_ratio(const PF_RationalScale& scale) noexcept;

// The host's downsampling as an integer factor, the inverse ratio truncated: 1 at full resolution, 2 at half,
// never below 1.
std::int32_t downsample_factor(const PF_RationalScale& scale) noexcept;

// A host double narrowed to float, or false when it is NaN, infinite or beyond the float range.
bool narrow_to_finite(double value, float& out) noexcept;

// Reading a parameter's value by ID at the input record's current time. A checkout the host refuses
// leaves the zero-filled record, which reads as 0 (false, item 0, 0 radians).
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

struct PointValue {
    float x = 0.0f;
    float y = 0.0f;
};

// A point parameter at the input record's current time, in pixels (16.16 fixed point × 2^-16).
PointValue get_point_param(const CommandContext& context, std::int32_t id);

// One distortion group (base ID 0 glow, 1000 core) at the input record's current time.
DistortionSettings read_distortion_settings(const CommandContext& context, std::int32_t base_id);

}  // namespace kyrox
