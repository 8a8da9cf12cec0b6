#pragma once

#include "plugin/host/ae_plugin_connection.h"
#include "plugin/host/command_context.h"
#include "plugin/render/render_inputs.h"

namespace kyrox {

// Appends the kept pieces of the layer's mask outlines (Core Type "Layer Masks") or of the chosen
// text layer's glyph outlines (Core Type "Text Layer") to scene.paths. Reads core_size,
// start_offset and end_offset from the scene.
void gather_paths(const AePluginConnection& instance, const CommandContext& context, SceneRecord& scene);

}  // namespace kyrox
