#pragma once

namespace kyrox {

// Name and version of the effect as it shows them to the host and the user.
inline constexpr const char* effect_name = "Kyrox";
inline constexpr int version_major = 1;
inline constexpr int version_minor = 0;
inline constexpr int version_build = 39;

}  // namespace kyrox
