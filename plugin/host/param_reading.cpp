#include "plugin/host/param_reading.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "plugin/host/param_ids.h"
#include "plugin/host/parameters.h"
#include "plugin/render/float_truncation.h"

namespace kyrox {

namespace {

bool is_malformed_ratio(A_long num, A_u_long den) noexcept
{
    return num <= 0 || den == 0;
}

}  // namespace

float ratio_fraction(A_long num, A_u_long den) noexcept
{
    if (is_malformed_ratio(num, den)) {
        return 1.0f;
    }
    return static_cast<float>(num) / static_cast<float>(den);
}

float inverse_ratio(const PF_RationalScale& scale) noexcept
{
    if (is_malformed_ratio(scale.num, scale.den)) {
        return 1.0f;
    }
    return static_cast<float>(scale.den) / static_cast<float>(scale.num);
}

std::int32_t downsample_factor(const PF_RationalScale& scale) noexcept
{
    const std::int32_t factor = truncate_to_int32(inverse_ratio(scale));
    return factor >= 1 ? factor : 1;
}

bool narrow_to_finite(double value, float& out) noexcept
{
    if (!std::isfinite(value) || std::fabs(value) > static_cast<double>(std::numeric_limits<float>::max())) {
        return false;
    }
    out = static_cast<float>(value);
    return true;
}

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

PointValue get_point_param(const CommandContext& context, std::int32_t id)
{
    const PF_PointDef point = read_param(context, id).u.td;
    constexpr float fixed_one = 1.0f / 65536.0f;
    return {static_cast<float>(point.x_value) * fixed_one, static_cast<float>(point.y_value) * fixed_one};
}

namespace {

// Slightly less than a quarter turn; the blade's noise has always been turned by this amount.
constexpr float blade_turn = 1.57075f;

}  // namespace

DistortionSettings read_distortion_settings(const CommandContext& context, std::int32_t base_id)
{
    const auto id = [base_id](std::int32_t offset) { return base_id + offset; };
    const float a = 1.0f / static_cast<float>(downsample_factor(context.in_data->downsample_x));

    DistortionSettings s;
    s.noise_scale = get_float_param(context, id(param::noise_scale)) * a;
    s.noise_speed = get_float_param(context, id(param::noise_speed));
    s.wind_speed = get_float_param(context, id(param::wind_speed)) * a;
    s.invert_distortion = get_checkbox_param(context, id(param::invert_distortion));
    s.lock_to_blade = get_checkbox_param(context, id(param::lock_to_blade)) &&
                      static_cast<CoreType>(get_popup_param(context, param::core_type)) == CoreType::blade;

    const PointValue start = get_point_param(context, param::core_start);
    const PointValue end = get_point_param(context, param::core_end);
    const float theta = s.lock_to_blade ? std::atan2(end.y - start.y, end.x - start.x) + blade_turn : 0.0f;
    s.wind_direction = get_angle_param(context, id(param::wind_direction)) + theta;

    s.noise_bias = get_float_param(context, id(param::noise_bias));
    s.noise_complexity = truncate_to_int32(get_float_param(context, id(param::noise_complexity)));
    s.distortion_amount = get_float_param(context, id(param::distortion_amount)) * a;
    s.noise_origin[0] = start.x;
    s.noise_origin[1] = start.y;
    s.distortion_type = static_cast<DistortionType>(get_popup_param(context, id(param::distortion_type)));
    s.distortion_composite = base_id != param::glow_distortion_base
                                 ? DistortionComposite::displace
                                 : static_cast<DistortionComposite>(get_popup_param(context, param::composite));
    s.noise_aspect_ratio = get_float_param(context, id(param::noise_aspect_ratio));
    s.distortion_motion_blur = get_float_param(context, id(param::distortion_motion_blur));
    s.distortion_seed = truncate_to_int32(get_float_param(context, id(param::distortion_seed)));
    return s;
}

}  // namespace kyrox
