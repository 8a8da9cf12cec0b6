#pragma once

#include "plugin/host/ae_plugin_connection.h"
#include "plugin/host/command_context.h"
#include "plugin/render/render_inputs.h"

namespace kyrox {

// Reads everything the renderer needs of the current frame. The text-layer checkout's error, if
// any, is left in the context; gathering goes on without the text matte.
SceneRecord gather_scene(const AePluginConnection& instance, CommandContext& context);

}  // namespace kyrox
