#include "plugin/host/smart_render_entry.h"

#include "hostapi/pf_smart_render.h"
#include "plugin/host/host_world_view.h"

namespace kyrox {

namespace {

float ratio_of(const PF_RationalScale& scale) noexcept
{
    return static_cast<float>(scale.den) / static_cast<float>(scale.num);
}

}  // namespace

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
    target.downsample_x = ratio_of(in_data.downsample_x);
    target.downsample_y = ratio_of(in_data.downsample_y);
    target.pixel_aspect = ratio_of(in_data.pixel_aspect_ratio);

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

}  // namespace kyrox
