#include "plugin/host/frame_inputs.h"

#include "plugin/host/distortion_reader.h"
#include "plugin/host/scene_gather.h"

namespace kyrox {

FrameInputs gather_frame_inputs(const AePluginConnection& instance, CommandContext& context)
{
    return FrameInputs{gather_scene(instance, context), read_distortion_settings(context, glow_distortion_base),
                       read_distortion_settings(context, core_distortion_base)};
}

}  // namespace kyrox
