#pragma once

#include <cstdint>
#include <vector>

// What the renderer reads of one frame: the host's buffers, the scene and the two distortion
// groups. The host fills these in; the renderer never reaches back into the host.

namespace kyrox {

// A checked-out host pixel buffer as the renderer reads it: four channels per pixel, alpha first.
// The view does not own the pixels; the host owns the buffer until the command ends.
struct WorldView {
    std::int32_t row_bytes = 0;
    std::uint8_t bytes_per_channel = 1;
    std::int32_t origin_x = 0;
    std::int32_t origin_y = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;
    void* data = nullptr;
};

// The buffers and factors of the current smart render, as the renderer reads them.
struct FrameTarget {
    WorldView input_view;
    WorldView output_view;
    float downsample_x = 0.0f;  // 2.0 at half resolution
    float downsample_y = 0.0f;
    std::int32_t output_origin_x = 0;
    std::int32_t output_origin_y = 0;
    float pixel_aspect = 0.0f;
    std::uint8_t bytes_per_channel = 0;  // 1, 2 or 4; 0 for a depth the renderer does not draw
};

// One motion-blur sample of the blade's core, in pixels of the downsampled frame.
struct CoreSegment {
    float start_x = 0.0f;
    float start_y = 0.0f;
    float end_x = 0.0f;
    float end_y = 0.0f;

    friend bool operator==(const CoreSegment&, const CoreSegment&) = default;
};

// One point of a kept piece of a flattened mask or text outline. The position is in downsampled
// pixels; half_width and cap_length are not scaled by the downsampling.
struct PathPoint {
    float x = 0.0f;
    float y = 0.0f;
    float half_width = 0.0f;
    float cap_length = 0.0f;
};

// Composite Settings popup value.
enum class CompositeMode : std::uint8_t { transparent = 1, black = 2, add = 3 };

// Everything the renderer needs of one frame. Rebuilt for every render and cleared afterwards.
struct SceneRecord {
    float glow_color[4] = {};
    std::vector<CoreSegment> core_segments;
    WorldView text_view;
    float core_size = 0.0f;
    float start_size = 0.0f;
    float end_size = 0.0f;
    float start_roundness = 0.0f;
    float end_roundness = 0.0f;
    float end_offset = 0.0f;
    float start_offset = 0.0f;
    float core_softness = 0.0f;
    float flicker_speed = 0.0f;
    float flicker_amount = 0.0f;
    std::int32_t random_seed = 0;
    float glow_intensity[4] = {};
    float glow_size[4] = {};
    float glow_pre_gamma = 0.0f;
    float glow_level_weights[4] = {};
    float alpha_boost = 0.0f;
    float gamma = 0.0f;
    float brightness = 0.0f;
    float saturation = 0.0f;
    bool mask_randomization = false;
    CompositeMode composite_mode{};  // 0 when the popup could not be read
    bool blend_on_top = false;
    std::vector<std::vector<PathPoint>> paths;
    bool mask_glow = false;
    bool not_mask_core = false;
    bool mask_all = false;
    bool invert_masks = false;
};

// Distortion Type popup value.
enum class DistortionType : std::int32_t { smoke = 1, fluid = 2, energy = 3 };
// Composite popup value of the glow distortion; the core distortion always displaces.
enum class DistortionComposite : std::int32_t { displace = 1, multiply = 2 };

// One noise-distortion group, converted to the units the distortion stage works in: lengths in
// downsampled pixels, angles in radians.
struct DistortionSettings {
    float noise_speed = 0.0f;
    float wind_speed = 0.0f;
    float wind_direction = 0.0f;
    float noise_scale = 0.0f;
    std::int32_t noise_complexity = 0;
    DistortionType distortion_type{};
    DistortionComposite distortion_composite{};
    float distortion_amount = 0.0f;
    float noise_aspect_ratio = 0.0f;
    float distortion_motion_blur = 0.0f;
    float noise_bias = 0.0f;
    float noise_origin[2] = {};
    bool lock_to_blade = false;
    bool invert_distortion = false;
    std::int32_t distortion_seed = 0;
};

// Frees the paths (with every piece) and the core segments and leaves both empty.
inline void scene_record_clear(SceneRecord& scene) noexcept
{
    // Swapping with empty vectors releases the storage, not just the elements.
    std::vector<std::vector<PathPoint>>().swap(scene.paths);
    std::vector<CoreSegment>().swap(scene.core_segments);
}

}  // namespace kyrox
