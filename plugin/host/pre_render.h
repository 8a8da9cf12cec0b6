#pragma once

#include "plugin/host/command_context.h"

namespace kyrox {

// Parameter ID of the Text Layer parameter; its layer is checked out with this checkout ID.
inline constexpr std::int32_t text_layer_param_id = 132;

// Checks out the layer chosen in the Text Layer parameter as a second input of the render.
PF_Err checkout_text_layer(CommandContext& context);

}  // namespace kyrox
