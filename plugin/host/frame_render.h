#pragma once

#include "plugin/host/ae_plugin_connection.h"

namespace kyrox {

// Gathers the frame's scene and distortion settings and draws them with the renderer of the
// target's pixel depth; a depth the renderer does not know draws nothing.
void render_frame_of(AePluginConnection& instance, CommandContext& context);

}  // namespace kyrox
