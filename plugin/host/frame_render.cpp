#include "plugin/host/frame_render.h"

namespace kyrox {

void render_frame_of(AePluginConnection&, CommandContext&) {}

}  // namespace kyrox
