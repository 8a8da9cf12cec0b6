#include "plugin/host/param_readers.h"

#include <algorithm>
#include <cmath>

#include "plugin/host/param_index.h"

namespace kyrox {

PF_ParamDef read_param(const CommandContext& context, std::int32_t id)
{
    const PF_InData& in_data = *context.in_data;
    PF_ParamDef def{};
    in_data.inter.checkout_param(in_data.effect_ref, param_index_of(id), in_data.current_time, in_data.time_step,
                                 in_data.time_scale, &def);
    PF_ParamDef value = def;
    in_data.inter.checkin_param(in_data.effect_ref, &def);
    return value;
}

float get_float_param(const CommandContext& context, std::int32_t id)
{
    return static_cast<float>(read_param(context, id).u.fs_d.value);
}

float get_angle_param(const CommandContext& context, std::int32_t id)
{
    // 16.16 fixed degrees; each step in single precision.
    const float degrees = static_cast<float>(read_param(context, id).u.ad.value) * (1.0f / 65536.0f);
    return degrees * 0.017453292f;
}

std::int32_t get_popup_param(const CommandContext& context, std::int32_t id)
{
    return read_param(context, id).u.pd.value;
}

float bounded_float(double value, const ParamEntry& slider) noexcept
{
    if (!std::isfinite(value)) {
        return slider.default_value;
    }
    return static_cast<float>(
        std::clamp(value, static_cast<double>(slider.valid_min), static_cast<double>(slider.valid_max)));
}

bool get_checkbox_param(const CommandContext& context, std::int32_t id)
{
    return read_param(context, id).u.bd.value != 0;
}

}  // namespace kyrox
