#include "minihost/host.h"

namespace minihost {

PF_Err Host::checkout_layer(PF_ParamIndex index, A_long checkout_id, const PF_RenderRequest& request, A_long what_time,
                            A_long time_step, A_u_long time_scale, PF_CheckoutResult& result)
{
    log_.calls.emplace_back("checkout_layer");
    log_.layer_checkouts.push_back({index, checkout_id, request, what_time, time_step, time_scale});
    if (settings_.pre_render_checkout_error != PF_Err_NONE) {
        return settings_.pre_render_checkout_error;
    }
    // The input layer answers with its own bounds; a layer without pixels with empty ones.
    const HostWorld* layer = index == 0 ? &input_layer_ : nullptr;
    if (const auto found = checkout_layers_.find(checkout_id); index != 0 && found != checkout_layers_.end()) {
        layer = found->second;
    }
    result = PF_CheckoutResult{};
    result.par = {1, 1};
    if (layer != nullptr) {
        result.result_rect = {0, 0, layer->width(), layer->height()};
        result.max_result_rect = result.result_rect;
        result.ref_width = layer->width();
        result.ref_height = layer->height();
    }
    return PF_Err_NONE;
}

PF_Err Host::checkout_layer_pixels(A_long checkout_id, PF_EffectWorld*& pixels)
{
    log_.calls.emplace_back("checkout_layer_pixels");
    log_.pixel_checkouts.push_back(checkout_id);
    pixels = nullptr;
    if (settings_.layer_pixels_error != PF_Err_NONE) {
        return settings_.layer_pixels_error;
    }
    if (checkout_id == 0) {
        pixels = &input_layer_.world();
    } else if (const auto found = checkout_layers_.find(checkout_id); found != checkout_layers_.end()) {
        pixels = &found->second->world();
    }
    return PF_Err_NONE;
}

PF_Err Host::checkin_layer_pixels(A_long)
{
    log_.calls.emplace_back("checkin_layer_pixels");
    return PF_Err_NONE;
}

PF_Err Host::checkout_output(PF_EffectWorld*& output)
{
    log_.calls.emplace_back("checkout_output");
    log_.pixel_checkouts.push_back(-1);
    output = nullptr;
    if (settings_.output_error != PF_Err_NONE) {
        return settings_.output_error;
    }
    if (!settings_.withhold_output) {
        output = &output_.world();
    }
    return PF_Err_NONE;
}

}  // namespace minihost
