#pragma once

// The smart-render path: pre-render asks for the layers, render checks out the buffers, gathers the
// frame's inputs and draws them with the renderer of the target's depth.

#include <cstdint>

#include "hostapi/pf_basic_types.h"
#include "hostapi/pf_effect_world.h"
#include "plugin/host/ae_plugin_connection.h"
#include "plugin/host/command_context.h"
#include "plugin/render/render_inputs.h"

namespace kyrox {

// The renderer's description of a checked-out host buffer; the host keeps owning the pixels.
inline WorldView describe_host_world(const PF_EffectWorld& world, std::uint8_t bytes_per_channel) noexcept
{
    WorldView view;
    view.row_bytes = world.rowbytes;
    view.bytes_per_channel = bytes_per_channel;
    view.origin_x = world.origin_x;
    view.origin_y = world.origin_y;
    view.width = world.width;
    view.height = world.height;
    view.data = world.data;
    return view;
}

// Merges source into destination: an empty destination takes the source, an empty source changes
// nothing, otherwise destination becomes the union of both.
void copy_result_rects(const PF_LRect& source, PF_LRect& destination) noexcept;

// Checks out a layer's pixels (index >= 0, also the checkout ID) or the output (negative index) into
// view. The context's error takes the host's result. Returns the host buffer, or null when the host
// gave none or failed; the view is then empty.
PF_EffectWorld* checkout_world(const AePluginConnection& instance, CommandContext& context, A_long index,
                               WorldView& view);

// Stores depth, downsampling and pixel aspect of the render, checks out input and output and
// renders; a failed or empty checkout ends the command with the host's error.
void smart_render_entry(AePluginConnection& instance, CommandContext& context);

// What the renderer draws one frame from. The scene is cleared when the inputs go, whichever way
// the render ends.
struct FrameInputs {
    SceneRecord scene;
    DistortionSettings glow_distortion;
    DistortionSettings core_distortion;

    ~FrameInputs() { scene_record_clear(scene); }
};

// The scene first (it leaves the host's current time as it found it), then both distortion groups.
FrameInputs gather_frame_inputs(const AePluginConnection& instance, CommandContext& context);

// Gathers the frame's scene and distortion settings, draws them with the renderer of the target's
// pixel depth and writes the time it took to the debugger output.
void render_frame_timed(AePluginConnection& instance, CommandContext& context);

// Checks out the layer chosen in the Text Layer parameter as a second input of the render.
PF_Err checkout_text_layer(CommandContext& context);

// Asks for the input at the layer's size (and the text layer); the host's answer for the input, in result, is
// what the effect will draw.
void request_render_layers(CommandContext& context, PF_CheckoutResult& result);

// Asks for the input (and the text layer) and reports what the effect will draw; a missing
// callback or record ends the command with PF_Err_BAD_CALLBACK_PARAM.
void smart_pre_render(AePluginConnection& instance, CommandContext& context);

}  // namespace kyrox
