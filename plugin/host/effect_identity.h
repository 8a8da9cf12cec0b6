#pragma once

#include "plugin/host/effect_version.h"

namespace kyrox {

// Name and version of the effect as it shows them to the host and the user.
inline constexpr const char* effect_name = "Kyrox";
inline constexpr int version_major = KYROX_VERSION_MAJOR;
inline constexpr int version_minor = KYROX_VERSION_MINOR;
inline constexpr int version_build = KYROX_VERSION_BUILD;

}  // namespace kyrox
