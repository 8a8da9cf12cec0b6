#pragma once

#include <ostream>

#include "plugin/render/render_inputs.h"

namespace minihost {

// The gathered record of one frame, one field a line, with paths summarised by their ends.
void print_scene(std::ostream& out, const kyrox::SceneRecord& scene, const kyrox::DistortionSettings& glow,
                 const kyrox::DistortionSettings& core);

}  // namespace minihost
