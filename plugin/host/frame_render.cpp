#include "plugin/host/frame_render.h"

#include <cstdint>

#include "plugin/host/frame_inputs.h"
#include "plugin/render/render_frame.h"

namespace kyrox {

void render_frame_of(AePluginConnection& instance, CommandContext& context)
{
    const FrameInputs inputs = gather_frame_inputs(instance, context);
    const float time =
        static_cast<float>(context.in_data->current_time) / static_cast<float>(context.in_data->time_scale);
    const auto draw = [&]<class Channel>() {
        render_frame<Channel>(instance.color_ramps, instance.target, inputs.scene, inputs.glow_distortion,
                              inputs.core_distortion, time);
    };
    switch (instance.target.bytes_per_channel) {
        case 1:
            draw.operator()<std::uint8_t>();
            break;
        case 2:
            draw.operator()<std::uint16_t>();
            break;
        case 4:
            draw.operator()<float>();
            break;
        default:
            break;
    }
}

}  // namespace kyrox
