#include "plugin/host/pre_render.h"

#include "hostapi/pf_smart_render.h"
#include "plugin/host/ae_plugin_connection.h"
#include "plugin/host/param_index.h"

namespace kyrox {

PF_Err checkout_text_layer(CommandContext& context)
{
    const PF_InData& in_data = *context.in_data;
    const auto& extra = *static_cast<PF_PreRenderExtra*>(context.extra);
    const PF_ParamIndex index = param_index_of(text_layer_param_id);

    PF_ParamDef layer_param{};
    in_data.inter.checkout_param(in_data.effect_ref, index, in_data.current_time, in_data.time_step,
                                 in_data.time_scale, &layer_param);
    const A_long width = layer_param.u.ld.width;
    const A_long height = layer_param.u.ld.height;
    in_data.inter.checkin_param(in_data.effect_ref, &layer_param);

    PF_RenderRequest request{};
    request.rect = {0, 0, width, height};
    request.field = 0;
    request.channel_mask = PF_ChannelMask_ARGB;
    request.preserve_rgb_of_zero_alpha = 1;
    PF_CheckoutResult result{};
    return extra.cb->checkout_layer(in_data.effect_ref, index, text_layer_param_id, &request, in_data.current_time,
                                    in_data.time_step, in_data.time_scale, &result);
}

void AePluginConnection::pre_render(CommandContext& context, PF_CheckoutResult& result)
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

}  // namespace kyrox
