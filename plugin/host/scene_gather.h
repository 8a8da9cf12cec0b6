#pragma once

#include <vector>

#include "plugin/host/ae_plugin_connection.h"
#include "plugin/host/command_context.h"
#include "plugin/host/suite_handler.h"
#include "plugin/render/render_inputs.h"

namespace kyrox {

// Whether the blade is blurred along its motion: Motion Blur "On", or "Composition" with both the
// layer's and the composition's motion-blur switch set.
bool motion_blur_enabled(const CommandContext& context, suite_handler& suites, AEGP_LayerH layer, AEGP_CompH comp);

// The core's start and end points at sub-frame times across the shutter interval, one segment per
// sample with repeats dropped. Moves the input record's current time while sampling and always
// leaves it as it found it.
std::vector<CoreSegment> sample_core_segments(CommandContext& context, bool blur);

// Reads everything the renderer needs of the current frame. The text-layer checkout's error, if
// any, is left in the context; gathering goes on without the text matte.
SceneRecord gather_scene(const AePluginConnection& instance, CommandContext& context);

}  // namespace kyrox
