#pragma once

#include "plugin/host/ae_plugin_connection.h"

namespace kyrox {

// Layer index of the output in checkout_world.
inline constexpr A_long output_world_index = -1;

// Checks out a layer's pixels (index >= 0, also the checkout ID) or the output (negative index) into
// view. The context's error takes the host's result. Returns the host buffer, or null when the host
// gave none or failed; the view is then empty.
PF_EffectWorld* checkout_world(const AePluginConnection& instance, CommandContext& context, A_long index,
                               WorldView& view);

// Stores depth, downsampling and pixel aspect of the render, checks out input and output and
// renders; a failed or empty checkout ends the command with the host's error.
void smart_render_entry(AePluginConnection& instance, CommandContext& context);

// Bytes per channel of a host bit depth: 1, 2 or 4; 0 for a depth the effect does not draw.
std::uint8_t bytes_per_channel_of(A_short bitdepth) noexcept;

}  // namespace kyrox
