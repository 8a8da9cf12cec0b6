#pragma once

#include <cstdint>

// Every parameter ID of the effect. The table, the presets, the readers and pre-render all name IDs
// from here; the host stores them with projects, so a value never changes.
namespace kyrox::param {

enum Id : std::int32_t {
    glow_color = 3,
    glow_intensity = 4,
    core_size = 5,
    core_start = 6,
    core_end = 7,
    end_offset = 8,
    customize_core_group = 9,
    start_size = 10,
    end_size = 11,
    start_roundness = 13,
    end_roundness = 14,
    customize_core_end = 16,
    flicker_speed = 17,
    flicker_intensity = 18,
    glow_settings_group = 19,
    glow_1_size = 34,
    glow_1_intensity = 35,
    glow_2_size = 36,
    glow_2_intensity = 37,
    glow_3_size = 38,
    glow_3_intensity = 39,
    glow_4_size = 40,
    glow_4_intensity = 41,
    glow_settings_end = 49,
    render_settings_group = 50,
    motion_blur = 51,
    composite_settings = 52,
    render_settings_end = 54,
    alpha_mode = 57,
    glow_size_multiplier = 61,
    glow_intensity_multiplier = 62,
    flicker_group = 63,
    flicker_end = 64,
    motion_blur_multiplier = 71,
    motion_blur_phase = 72,
    glow_spread = 73,
    alpha_boost = 74,
    motion_blur_group = 75,
    motion_blur_end = 76,
    halo_intensity = 77,
    halo_size = 78,
    distortion_group = 97,
    distortion_end = 98,
    enable_glow = 99,
    gamma = 105,
    blend_on_top = 106,
    brightness = 108,
    core_type = 109,
    mask_randomization = 110,
    start_offset = 111,
    core_softness = 112,
    preset = 114,
    saturation = 115,
    offset_size = 118,
    mask_evolution = 119,
    random_seed = 120,
    motion_blur_clamp = 121,
    glow_pre_gamma = 122,
    glow_bias = 123,
    composite = 130,
    invert_masks = 131,
    text_layer = 132,
    use_text_alpha = 133,

    // A distortion group's parameters, as offsets from its base: the glow group's IDs are these,
    // the core group's are these plus core_distortion_base.
    distortion_group_start = 79,
    distortion_type = 80,
    noise_bias = 83,
    noise_scale = 84,
    noise_speed = 85,
    wind_speed = 88,
    wind_direction = 89,
    noise_aspect_ratio = 91,
    noise_complexity = 92,
    distortion_amount = 94,
    distortion_group_end = 95,
    lock_to_blade = 104,
    distortion_motion_blur = 107,
    distortion_seed = 129,
    invert_distortion = 134,
};

// Parameter ID bases of the two distortion groups.
inline constexpr std::int32_t glow_distortion_base = 0;
inline constexpr std::int32_t core_distortion_base = 1000;

// A core distortion group parameter's ID.
constexpr std::int32_t core_distortion(Id offset)
{
    return core_distortion_base + offset;
}

}  // namespace kyrox::param

namespace kyrox {

// Core Type popup value.
enum class CoreType : std::int32_t { blade = 1, layer_masks = 2, text = 3 };

// Motion Blur popup value.
enum class MotionBlurMode : std::int32_t { on = 1, off = 2, composition = 3 };

// Alpha Mode popup value.
enum class AlphaMode : std::int32_t { enable_masks = 1, mask_core = 2, mask_glow = 3, disable = 4 };

}  // namespace kyrox
