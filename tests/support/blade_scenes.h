#pragma once

// Blade scenes shared by the tests and the benchmarks, so that both measure and check the same blades.

#include <array>
#include <cstddef>
#include <utility>
#include <vector>

#include "plugin/render/render_inputs.h"

namespace kyrox::test {

// What the core outline is built from and nothing else: the blade's motion-blur samples over its whole length.
inline SceneRecord outline_scene(std::vector<CoreSegment> samples)
{
    SceneRecord scene;
    scene.core_segments = std::move(samples);
    scene.start_offset = 0.0f;
    scene.end_offset = 1.0f;
    return scene;
}

// A blade along one segment, its caps full size and half round, over its whole length; four glow levels of the
// given sizes (pixels) and intensities, the widest at half weight; neutral grading; composited over transparency
// with the core left unmasked (Alpha Mode 4). Glow colour, flicker and alpha boost stay zero.
inline SceneRecord glowing_blade_scene(CoreSegment segment, float core_size, const std::array<float, 4>& sizes,
                                       const std::array<float, 4>& intensities)
{
    SceneRecord s;
    s.core_segments = {segment};
    s.core_size = core_size;
    s.start_size = 100.0f;
    s.end_size = 100.0f;
    s.start_roundness = 50.0f;
    s.end_roundness = 50.0f;
    s.end_offset = 1.0f;
    for (std::size_t k = 0; k < 4; ++k) {
        s.glow_size[k] = sizes[k];
        s.glow_intensity[k] = intensities[k];
        s.glow_level_weights[k] = k == 0 ? 0.5f : 1.0f;
    }
    s.glow_pre_gamma = 1.0f;
    s.gamma = 1.0f;
    s.brightness = 1.0f;
    s.saturation = 1.0f;
    s.composite_mode = CompositeMode::transparent;
    s.not_mask_core = true;
    return s;
}

}  // namespace kyrox::test
