#pragma once

#include <cstdint>

// Parameter IDs read while gathering a frame's scene and distortion settings.
namespace kyrox::scene_ids {

inline constexpr std::int32_t glow_color = 3;
inline constexpr std::int32_t glow_intensity = 4;
inline constexpr std::int32_t core_size = 5;
inline constexpr std::int32_t core_start = 6;
inline constexpr std::int32_t core_end = 7;
inline constexpr std::int32_t end_offset = 8;
inline constexpr std::int32_t start_size = 10;
inline constexpr std::int32_t end_size = 11;
inline constexpr std::int32_t start_roundness = 13;
inline constexpr std::int32_t end_roundness = 14;
inline constexpr std::int32_t flicker_speed = 17;
inline constexpr std::int32_t flicker_intensity = 18;
inline constexpr std::int32_t glow_1_size = 34;
inline constexpr std::int32_t glow_1_intensity = 35;
inline constexpr std::int32_t glow_2_size = 36;
inline constexpr std::int32_t glow_2_intensity = 37;
inline constexpr std::int32_t glow_3_size = 38;
inline constexpr std::int32_t glow_3_intensity = 39;
inline constexpr std::int32_t glow_4_size = 40;
inline constexpr std::int32_t glow_4_intensity = 41;
inline constexpr std::int32_t motion_blur = 51;
inline constexpr std::int32_t composite_settings = 52;
inline constexpr std::int32_t alpha_mode = 57;
inline constexpr std::int32_t glow_size_multiplier = 61;
inline constexpr std::int32_t glow_intensity_multiplier = 62;
inline constexpr std::int32_t motion_blur_multiplier = 71;
inline constexpr std::int32_t motion_blur_phase = 72;
inline constexpr std::int32_t glow_spread = 73;
inline constexpr std::int32_t alpha_boost = 74;
inline constexpr std::int32_t halo_intensity = 77;
inline constexpr std::int32_t halo_size = 78;
inline constexpr std::int32_t enable_glow = 99;
inline constexpr std::int32_t gamma = 105;
inline constexpr std::int32_t blend_on_top = 106;
inline constexpr std::int32_t brightness = 108;
inline constexpr std::int32_t core_type = 109;
inline constexpr std::int32_t mask_randomization = 110;
inline constexpr std::int32_t start_offset = 111;
inline constexpr std::int32_t core_softness = 112;
inline constexpr std::int32_t saturation = 115;
inline constexpr std::int32_t offset_size = 118;
inline constexpr std::int32_t mask_evolution = 119;
inline constexpr std::int32_t random_seed = 120;
inline constexpr std::int32_t motion_blur_clamp = 121;
inline constexpr std::int32_t glow_pre_gamma = 122;
inline constexpr std::int32_t glow_bias = 123;
inline constexpr std::int32_t composite = 130;
inline constexpr std::int32_t invert_masks = 131;
inline constexpr std::int32_t text_layer = 132;
inline constexpr std::int32_t use_text_alpha = 133;

// Offsets from a distortion group's base ID (0 glow, 1000 core).
inline constexpr std::int32_t distortion_type = 80;
inline constexpr std::int32_t noise_bias = 83;
inline constexpr std::int32_t noise_scale = 84;
inline constexpr std::int32_t noise_speed = 85;
inline constexpr std::int32_t wind_speed = 88;
inline constexpr std::int32_t wind_direction = 89;
inline constexpr std::int32_t noise_aspect_ratio = 91;
inline constexpr std::int32_t noise_complexity = 92;
inline constexpr std::int32_t distortion_amount = 94;
inline constexpr std::int32_t lock_to_blade = 104;
inline constexpr std::int32_t distortion_motion_blur = 107;
inline constexpr std::int32_t distortion_seed = 129;
inline constexpr std::int32_t invert_distortion = 134;

// Core Type values.
inline constexpr std::int32_t core_type_blade = 1;
inline constexpr std::int32_t core_type_text = 3;

}  // namespace kyrox::scene_ids
