#pragma once

#include <cstdint>
#include <vector>

#include "plugin/host/world_view.h"

namespace kyrox {

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
    std::uint8_t composite_mode = 0;  // a CompositeMode value; 0 when the popup could not be read
    bool blend_on_top = false;
    std::vector<std::vector<PathPoint>> paths;
    bool mask_glow = false;
    bool not_mask_core = false;
    bool mask_all = false;
    bool invert_masks = false;
};

// Frees the paths (with every piece) and the core segments and leaves both empty.
void scene_record_clear(SceneRecord& scene) noexcept;

}  // namespace kyrox
