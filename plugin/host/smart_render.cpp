#include "plugin/host/smart_render.h"

#include <algorithm>
#include <cstdint>
#include <sstream>

#include "hostapi/pf_smart_render.h"
#include "plugin/host/ae_plugin_connection.h"
#include "plugin/host/param_ids.h"
#include "plugin/host/param_reading.h"
#include "plugin/host/parameters.h"
#include "plugin/host/scene_gather.h"
#include "plugin/platform/platform.h"
#include "plugin/render/render_frame.h"

namespace kyrox {

namespace {

// Layer index of the output in checkout_world.
constexpr A_long output_world_index = -1;

// Bytes per channel of a host bit depth: 1, 2 or 4; 0 for a depth the effect does not draw.
std::uint8_t bytes_per_channel_of(A_short bitdepth) noexcept
{
    switch (bitdepth) {
    case 8:
        return 1;
    case 16:
        return 2;
    case 32:
        return 4;
    default:
        return 0;
    }
}

}  // namespace

PF_EffectWorld* checkout_world(const AePluginConnection& instance, CommandContext& context, A_long index,
                               WorldView& view)
{
    const auto& extra = *static_cast<PF_SmartRenderExtra*>(context.extra);
    const PF_ProgPtr effect_ref = context.in_data->effect_ref;
    view = WorldView{};
    PF_EffectWorld* world = nullptr;
    context.error = index >= 0 ? extra.cb->checkout_layer_pixels(effect_ref, index, &world)
                               : extra.cb->checkout_output(effect_ref, &world);
    if (world == nullptr || context.error != PF_Err_NONE) {
        return nullptr;
    }
    view = describe_host_world(*world, instance.target.bytes_per_channel);
    return world;
}

void smart_render_entry(AePluginConnection& instance, CommandContext& context)
{
    const auto* extra = static_cast<PF_SmartRenderExtra*>(context.extra);
    if (extra == nullptr || extra->input == nullptr || extra->cb == nullptr) {
        context.error = PF_Err_BAD_CALLBACK_PARAM;
        return;
    }
    const PF_InData& in_data = *context.in_data;
    FrameTarget& target = instance.target;
    target.bytes_per_channel = bytes_per_channel_of(extra->input->bitdepth);
    target.downsample_x = inverse_ratio(in_data.downsample_x);
    target.downsample_y = inverse_ratio(in_data.downsample_y);
    target.pixel_aspect = inverse_ratio(in_data.pixel_aspect_ratio);

    // Views describe this render's buffers only, also when a checkout fails.
    target.output_view = WorldView{};
    context.input_world = checkout_world(instance, context, 0, target.input_view);
    if (context.input_world == nullptr) {
        return;
    }
    context.output_world = checkout_world(instance, context, output_world_index, target.output_view);
    if (context.output_world == nullptr) {
        return;
    }
    target.output_origin_x = context.output_world->origin_x;
    target.output_origin_y = context.output_world->origin_y;
    instance.render(context);
}

namespace {

bool is_empty_rect(const PF_LRect& rect) noexcept
{
    return rect.left >= rect.right || rect.top >= rect.bottom;
}

}  // namespace

void copy_result_rects(const PF_LRect& source, PF_LRect& destination) noexcept
{
    if (is_empty_rect(destination)) {
        destination = source;
    } else if (!is_empty_rect(source)) {
        destination.left = std::min(destination.left, source.left);
        destination.top = std::min(destination.top, source.top);
        destination.right = std::max(destination.right, source.right);
        destination.bottom = std::max(destination.bottom, source.bottom);
    }
}

FrameInputs gather_frame_inputs(const AePluginConnection& instance, CommandContext& context)
{
    return FrameInputs{gather_scene(instance, context), read_distortion_settings(context, param::glow_distortion_base),
                       read_distortion_settings(context, param::core_distortion_base)};
}

namespace {

// A depth the renderer does not know draws nothing.
void render_frame_of(AePluginConnection& instance, CommandContext& context)
{
    const FrameInputs inputs = gather_frame_inputs(instance, context);
    const float time =
        static_cast<float>(context.in_data->current_time) / static_cast<float>(context.in_data->time_scale);
    const auto draw = [&]<class Channel>() {
        render_frame<Channel>(instance.color_ramps, instance.target, inputs.scene, inputs.glow_distortion,
                              inputs.core_distortion, time);
    };
    switch (instance.target.bytes_per_channel) {
    case 1:
        draw.operator()<std::uint8_t>();
        break;
    case 2:
        draw.operator()<std::uint16_t>();
        break;
    case 4:
        draw.operator()<float>();
        break;
    default:
        break;
    }
}

// Performance counter in nanoseconds, split so that large counter values cannot overflow.
std::int64_t now_nanoseconds() noexcept
{
    const std::int64_t ticks = platform::performance_counter();
    const std::int64_t frequency = platform::performance_frequency();
    return ticks / frequency * 1'000'000'000 + ticks % frequency * 1'000'000'000 / frequency;
}

}  // namespace

void render_frame_timed(AePluginConnection& instance, CommandContext& context)
{
    const std::int64_t t0 = now_nanoseconds();
    render_frame_of(instance, context);
    const std::int64_t t1 = now_nanoseconds();
    const float milliseconds = static_cast<float>((t1 - t0) / 1000) * 0.001f;

    std::ostringstream line;
    line << " Video processing time: " << milliseconds << "\n";
    platform::debugger_output(line.str().c_str());
}

PF_Err checkout_text_layer(CommandContext& context)
{
    const PF_InData& in_data = *context.in_data;
    const auto& extra = *static_cast<PF_PreRenderExtra*>(context.extra);
    const PF_ParamIndex index = param_index_of(param::text_layer);

    PF_ParamDef layer_param{};
    in_data.inter.checkout_param(in_data.effect_ref, index, in_data.current_time, in_data.time_step, in_data.time_scale,
                                 &layer_param);
    const A_long width = layer_param.u.ld.width;
    const A_long height = layer_param.u.ld.height;
    in_data.inter.checkin_param(in_data.effect_ref, &layer_param);

    PF_RenderRequest request{};
    request.rect = {0, 0, width, height};
    request.field = 0;
    request.channel_mask = PF_ChannelMask_ARGB;
    request.preserve_rgb_of_zero_alpha = 1;
    PF_CheckoutResult result{};
    return extra.cb->checkout_layer(in_data.effect_ref, index, param::text_layer, &request, in_data.current_time,
                                    in_data.time_step, in_data.time_scale, &result);
}

void request_render_layers(CommandContext& context, PF_CheckoutResult& result)
{
    const PF_InData& in_data = *context.in_data;
    const auto& extra = *static_cast<PF_PreRenderExtra*>(context.extra);

    PF_RenderRequest request = extra.input->output_request;
    request.rect = {0, 0, in_data.width, in_data.height};
    request.preserve_rgb_of_zero_alpha = 1;
    extra.output->flags |= PF_RenderOutputFlag_RETURNS_EXTRA_PIXELS;

    // The effect draws within its layer: whatever the host answers becomes the result as it is.
    extra.cb->checkout_layer(in_data.effect_ref, 0, 0, &request, in_data.current_time, in_data.time_step,
                             in_data.time_scale, &result);
    checkout_text_layer(context);
}

void smart_pre_render(AePluginConnection& instance, CommandContext& context)
{
    auto* extra = static_cast<PF_PreRenderExtra*>(context.extra);
    if (extra == nullptr || extra->input == nullptr || extra->output == nullptr || extra->cb == nullptr) {
        context.error = PF_Err_BAD_CALLBACK_PARAM;
        return;
    }
    PF_CheckoutResult result{};
    instance.pre_render(context, result);
    copy_result_rects(result.result_rect, extra->output->result_rect);
    copy_result_rects(result.max_result_rect, extra->output->max_result_rect);
}

}  // namespace kyrox
