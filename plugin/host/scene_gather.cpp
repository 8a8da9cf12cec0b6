#include "plugin/host/scene_gather.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

#include "hostapi/pf_smart_render.h"
#include "plugin/host/param_ids.h"
#include "plugin/host/param_reading.h"
#include "plugin/host/path_gather.h"
#include "plugin/host/smart_render.h"
#include "plugin/host/suite_handler.h"
#include "plugin/render/float_truncation.h"

namespace kyrox {

namespace {

// Puts the input record's current time back however the sampling ends.
class TimeRestore {
public:
    explicit TimeRestore(PF_InData& in_data) : in_data_(in_data), t0_(in_data.current_time) {}
    ~TimeRestore() { in_data_.current_time = t0_; }
    TimeRestore(const TimeRestore&) = delete;
    TimeRestore& operator=(const TimeRestore&) = delete;

    A_long t0() const noexcept { return t0_; }

private:
    PF_InData& in_data_;
    A_long t0_;
};

struct Shutter {
    float multiplier = 0.0f;
    float phase = 0.0f;  // in turns
};

// t0 + trunc(L × (p + (u − 1) × m)), kept inside the host's time range.
A_long sample_time(A_long t0, float local_step, const Shutter& shutter, float u) noexcept
{
    const float offset = local_step * (shutter.phase + (u - 1.0f) * shutter.multiplier);
    const std::int64_t time = static_cast<std::int64_t>(t0) + truncate_to_int32(offset);
    return static_cast<A_long>(
        std::clamp<std::int64_t>(time, std::numeric_limits<A_long>::min(), std::numeric_limits<A_long>::max()));
}

CoreSegment read_segment(const CommandContext& context)
{
    const PointValue end = get_point_param(context, param::core_end);
    const PointValue start = get_point_param(context, param::core_start);
    return {start.x, start.y, end.x, end.y};
}

float distance(float x0, float y0, float x1, float y1) noexcept
{
    const float dx = x1 - x0;
    const float dy = y1 - y0;
    return std::sqrt(dx * dx + dy * dy);
}

// Whether the blade is blurred along its motion: Motion Blur "On", or "Composition" with both the
// layer's and the composition's motion-blur switch set.
bool motion_blur_enabled(const CommandContext& context, suite_handler& suites, AEGP_LayerH layer, AEGP_CompH comp)
{
    const auto mode = static_cast<MotionBlurMode>(get_popup_param(context, param::motion_blur));
    if (mode == MotionBlurMode::on) {
        return true;
    }
    if (mode != MotionBlurMode::composition) {
        return false;
    }
    AEGP_CompFlags comp_flags = AEGP_CompFlag_NONE;
    if (const AEGP_CompSuite* comp_suite = suites.comp_19(); comp_suite != nullptr && comp != nullptr) {
        comp_suite->AEGP_GetCompFlags(comp, &comp_flags);
    }
    AEGP_LayerFlags layer_flags = AEGP_LayerFlag_NONE;
    if (const AEGP_LayerSuite* layer_suite = suites.layer_12(); layer_suite != nullptr && layer != nullptr) {
        layer_suite->AEGP_GetLayerFlags(layer, &layer_flags);
    }
    return (layer_flags & comp_flags & AEGP_LayerFlag_MOTION_BLUR) != 0;
}

// The core's start and end points at sub-frame times across the shutter interval, one segment per
// sample with repeats dropped. Moves the input record's current time while sampling and always
// leaves it as it found it.
std::vector<CoreSegment> sample_core_segments(CommandContext& context, bool blur)
{
    PF_InData& in_data = *context.in_data;
    const TimeRestore restore(in_data);
    Shutter shutter;
    if (blur) {
        shutter.multiplier = get_float_param(context, param::motion_blur_multiplier);
        shutter.phase = get_float_param(context, param::motion_blur_phase) * 0.0027777778f;
    }
    // The clamp is given in full-resolution pixels; the points are in downsampled ones.
    const float clamp = get_float_param(context, param::motion_blur_clamp) /
                        static_cast<float>(downsample_factor(in_data.downsample_x));
    const float local_step = static_cast<float>(in_data.local_time_step);

    in_data.current_time = sample_time(restore.t0(), local_step, shutter, 0.0f);
    const CoreSegment opening = read_segment(context);
    in_data.current_time = sample_time(restore.t0(), local_step, shutter, 1.0f);
    const CoreSegment closing = read_segment(context);

    const float ds = distance(opening.start_x, opening.start_y, closing.start_x, closing.start_y);
    const float de = distance(opening.end_x, opening.end_y, closing.end_x, closing.end_y);
    const float steps = std::ceil(0.1f * std::max(ds, de));
    const float step = 1.0f / steps;  // infinite without movement: one sample at u = 0

    std::vector<CoreSegment> segments;
    for (float u = 0.0f; u < 1.0f + step / 2.0f; u += step) {
        in_data.current_time = sample_time(restore.t0(), local_step, shutter, u);
        CoreSegment sample = read_segment(context);
        if (ds < clamp) {
            sample.start_x = closing.start_x;
            sample.start_y = closing.start_y;
        }
        if (de < clamp) {
            sample.end_x = closing.end_x;
            sample.end_y = closing.end_y;
        }
        if (segments.empty() || !(segments.back() == sample)) {
            segments.push_back(sample);
        }
    }
    return segments;
}

// max(x, 3) that keeps x only when it is greater, so NaN becomes 3.
float at_least_3(float x) noexcept
{
    return x > 3.0f ? x : 3.0f;
}

void read_core_shape(const CommandContext& context, SceneRecord& scene)
{
    const float s = get_float_param(context, param::start_size);
    const float e = get_float_param(context, param::end_size);
    const float rs = 100.0f * get_float_param(context, param::start_roundness);
    const float re = 100.0f * get_float_param(context, param::end_roundness);
    if (get_checkbox_param(context, param::offset_size)) {
        scene.start_size = s;
        scene.end_size = e;
        scene.start_roundness = at_least_3(rs);
        scene.end_roundness = at_least_3(re);
        return;
    }
    // The ramp spans the whole core; each visible end takes the ramp's value at its offset.
    const float so = scene.start_offset;
    const float eo = scene.end_offset;
    scene.start_size = (1.0f - so) * s + so * e;
    scene.end_size = (1.0f - eo) * s + eo * e;
    scene.start_roundness = at_least_3((1.0f - so) * rs + so * re);
    scene.end_roundness = at_least_3((1.0f - eo) * rs + eo * re);
}

void read_glow_levels(const CommandContext& context, SceneRecord& scene)
{
    const float i = get_checkbox_param(context, param::enable_glow)
                        ? get_float_param(context, param::glow_intensity_multiplier) *
                              get_float_param(context, param::glow_intensity) * 0.01f * 0.5f
                        : 0.0f;
    const float b = get_float_param(context, param::glow_bias);
    const float spread =
        2.0f * get_float_param(context, param::glow_size_multiplier) * get_float_param(context, param::glow_spread);
    const float s = spread > 0.0f ? spread : 0.0f;
    const float halo_intensity = get_float_param(context, param::halo_intensity) * 0.01f;
    const float halo_size = get_float_param(context, param::halo_size) * 0.01f;

    scene.glow_intensity[0] = get_float_param(context, param::glow_1_intensity) * i * b;
    scene.glow_intensity[1] = get_float_param(context, param::glow_2_intensity) * i * (1.0f + 0.65f * (b - 1.0f));
    scene.glow_intensity[2] = get_float_param(context, param::glow_3_intensity) * i * (1.0f + 0.4f * (b - 1.0f));
    scene.glow_intensity[3] =
        get_float_param(context, param::glow_4_intensity) * i * halo_intensity * (1.0f + 0.2f * (b - 1.0f));
    scene.glow_size[0] = get_float_param(context, param::glow_1_size) * s;
    scene.glow_size[1] = get_float_param(context, param::glow_2_size) * s;
    scene.glow_size[2] = get_float_param(context, param::glow_3_size) * s;
    scene.glow_size[3] = get_float_param(context, param::glow_4_size) * s * halo_size;
    scene.glow_level_weights[0] = 0.5f;
    scene.glow_level_weights[1] = 1.0f;
    scene.glow_level_weights[2] = 1.0f;
    scene.glow_level_weights[3] = 1.0f;
    scene.glow_pre_gamma = get_float_param(context, param::glow_pre_gamma);
}

void read_alpha_mode(const CommandContext& context, SceneRecord& scene)
{
    const auto mode = static_cast<AlphaMode>(get_popup_param(context, param::alpha_mode));
    scene.mask_glow = mode == AlphaMode::enable_masks || mode == AlphaMode::mask_glow;
    scene.not_mask_core = mode == AlphaMode::enable_masks || mode >= AlphaMode::mask_glow;
    scene.mask_all = mode == AlphaMode::enable_masks;
    scene.invert_masks = get_checkbox_param(context, param::invert_masks);
}

// The text layer's pixels, checked out at pre-render under the Text Layer parameter's ID.
void fetch_text_view(const AePluginConnection& instance, CommandContext& context, SceneRecord& scene)
{
    const auto* extra = static_cast<const PF_SmartRenderExtra*>(context.extra);
    if (extra == nullptr || extra->cb == nullptr) {
        return;
    }
    PF_EffectWorld* world = nullptr;
    context.error = extra->cb->checkout_layer_pixels(context.in_data->effect_ref, param::text_layer, &world);
    if (context.error != PF_Err_NONE || world == nullptr || world->data == nullptr) {
        return;
    }
    scene.text_view = describe_host_world(*world, instance.target.bytes_per_channel);
}

}  // namespace

SceneRecord gather_scene(const AePluginConnection& instance, CommandContext& context)
{
    SceneRecord scene;
    {
        suite_handler suites(context.in_data->pica_basicP);
        AEGP_LayerH layer = nullptr;
        AEGP_CompH comp = nullptr;
        if (const AEGP_PFInterfaceSuite* pf = suites.pf_interface(); pf != nullptr) {
            pf->AEGP_GetEffectLayer(context.in_data->effect_ref, &layer);
        }
        if (const AEGP_LayerSuite* layers = suites.layer_11(); layers != nullptr && layer != nullptr) {
            layers->AEGP_GetLayerParentComp(layer, &comp);
        }
        scene.core_segments = sample_core_segments(context, motion_blur_enabled(context, suites, layer, comp));
    }

    scene.core_size = get_float_param(context, param::core_size);
    scene.end_offset = get_float_param(context, param::end_offset) * 0.01f;
    scene.start_offset = get_float_param(context, param::start_offset) * 0.01f;
    const auto core_type = static_cast<CoreType>(get_popup_param(context, param::core_type));
    if (core_type != CoreType::blade) {
        gather_paths(instance, context, scene);
    }
    read_core_shape(context, scene);

    scene.core_softness = get_float_param(context, param::core_softness);
    const PF_Pixel color = read_param(context, param::glow_color).u.cd.value;
    constexpr float channel_scale = 0.003921569f;
    scene.glow_color[0] = static_cast<float>(color.red) * channel_scale;
    scene.glow_color[1] = static_cast<float>(color.green) * channel_scale;
    scene.glow_color[2] = static_cast<float>(color.blue) * channel_scale;
    scene.glow_color[3] = static_cast<float>(color.alpha) * channel_scale;

    read_glow_levels(context, scene);
    scene.flicker_speed = get_float_param(context, param::flicker_speed);
    scene.flicker_amount = 2.0f * get_float_param(context, param::flicker_intensity);
    scene.composite_mode = static_cast<CompositeMode>(get_popup_param(context, param::composite_settings));
    scene.mask_randomization = get_checkbox_param(context, param::mask_randomization);
    scene.random_seed = truncate_to_int32(get_float_param(context, param::random_seed) + 0.5f);
    // The grading values reach the output's every pixel through powf and products, where a value no
    // slider can give would put infinity or NaN into float output.
    scene.alpha_boost = get_bounded_float_param<param::alpha_boost>(context);
    scene.gamma = get_bounded_float_param<param::gamma>(context);
    scene.brightness = get_bounded_float_param<param::brightness>(context);
    scene.saturation = get_bounded_float_param<param::saturation>(context);
    read_alpha_mode(context, scene);

    if (get_checkbox_param(context, param::use_text_alpha) && core_type == CoreType::text) {
        fetch_text_view(instance, context, scene);
    }
    scene.blend_on_top = get_checkbox_param(context, param::blend_on_top);
    return scene;
}

}  // namespace kyrox
