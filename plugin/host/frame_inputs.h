#pragma once

#include "plugin/host/ae_plugin_connection.h"
#include "plugin/host/command_context.h"
#include "plugin/host/distortion_settings.h"
#include "plugin/host/scene_record.h"

namespace kyrox {

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

}  // namespace kyrox
