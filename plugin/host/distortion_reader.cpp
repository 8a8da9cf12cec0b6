#include "plugin/host/distortion_reader.h"

#include <cmath>

#include "plugin/host/param_readers.h"
#include "plugin/host/point_reader.h"
#include "plugin/host/safe_convert.h"
#include "plugin/host/scene_param_ids.h"

namespace kyrox {

namespace {

// Slightly less than a quarter turn; the blade's noise has always been turned by this amount.
constexpr float blade_turn = 1.57075f;

}  // namespace

DistortionSettings read_distortion_settings(const CommandContext& context, std::int32_t base_id)
{
    namespace ids = scene_ids;
    const auto id = [base_id](std::int32_t offset) { return base_id + offset; };
    const float a = 1.0f / static_cast<float>(downsample_factor(context.in_data->downsample_x));

    DistortionSettings s;
    s.noise_scale = get_float_param(context, id(ids::noise_scale)) * a;
    s.noise_speed = get_float_param(context, id(ids::noise_speed));
    s.wind_speed = get_float_param(context, id(ids::wind_speed)) * a;
    s.invert_distortion = get_checkbox_param(context, id(ids::invert_distortion));
    s.lock_to_blade = get_checkbox_param(context, id(ids::lock_to_blade)) &&
                      get_popup_param(context, ids::core_type) == ids::core_type_blade;

    const PointValue start = get_point_param(context, ids::core_start);
    const PointValue end = get_point_param(context, ids::core_end);
    const float theta = s.lock_to_blade ? std::atan2(end.y - start.y, end.x - start.x) + blade_turn : 0.0f;
    s.wind_direction = get_angle_param(context, id(ids::wind_direction)) + theta;

    s.noise_bias = get_float_param(context, id(ids::noise_bias));
    s.noise_complexity = truncate_to_i32(get_float_param(context, id(ids::noise_complexity)));
    s.distortion_amount = get_float_param(context, id(ids::distortion_amount)) * a;
    s.noise_origin[0] = start.x;
    s.noise_origin[1] = start.y;
    s.distortion_type = get_popup_param(context, id(ids::distortion_type));
    s.distortion_composite = base_id != glow_distortion_base ? 1 : get_popup_param(context, ids::composite);
    s.noise_aspect_ratio = get_float_param(context, id(ids::noise_aspect_ratio));
    s.distortion_motion_blur = get_float_param(context, id(ids::distortion_motion_blur));
    s.distortion_seed = truncate_to_i32(get_float_param(context, id(ids::distortion_seed)));
    return s;
}

}  // namespace kyrox
