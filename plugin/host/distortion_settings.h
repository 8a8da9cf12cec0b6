#pragma once

#include <cstdint>

namespace kyrox {

// One noise-distortion group, converted to the units the distortion stage works in: lengths in
// downsampled pixels, angles in radians.
struct DistortionSettings {
    float noise_speed = 0.0f;
    float wind_speed = 0.0f;
    float wind_direction = 0.0f;
    float noise_scale = 0.0f;
    std::int32_t noise_complexity = 0;
    std::int32_t distortion_type = 0;       // 1 Smoke, 2 Fluid, 3 Energy
    std::int32_t distortion_composite = 0;  // 1 Distortion, 2 Multiply
    float distortion_amount = 0.0f;
    float noise_aspect_ratio = 0.0f;
    float distortion_motion_blur = 0.0f;
    float noise_bias = 0.0f;
    float noise_origin[2] = {};
    bool lock_to_blade = false;
    bool invert_distortion = false;
    std::int32_t distortion_seed = 0;
};

// Parameter ID bases of the two groups.
inline constexpr int glow_distortion_base = 0;
inline constexpr int core_distortion_base = 1000;

}  // namespace kyrox
