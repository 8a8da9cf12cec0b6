#include "plugin/host/frame_render.h"

#include "plugin/host/frame_inputs.h"

namespace kyrox {

void render_frame_of(AePluginConnection& instance, CommandContext& context)
{
    const FrameInputs inputs = gather_frame_inputs(instance, context);
}

}  // namespace kyrox
