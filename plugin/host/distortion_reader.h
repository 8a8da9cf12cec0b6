#pragma once

#include <cstdint>

#include "plugin/host/command_context.h"
#include "plugin/host/distortion_settings.h"

namespace kyrox {

// One distortion group (base ID 0 glow, 1000 core) at the input record's current time.
DistortionSettings read_distortion_settings(const CommandContext& context, std::int32_t base_id);

}  // namespace kyrox
