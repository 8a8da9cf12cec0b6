#pragma once

// The two factors behind level_intensities, which the renderer reaches only through it; the tests
// check them directly.

#include "plugin/render/render_inputs.h"

namespace kyrox {

// The flicker multiplier of the whole blade, never below 0; 1 when the paths flicker one by one.
float flicker_multiplier(const SceneRecord& scene, float time) noexcept;

// Keeps the glow of a thick core about as bright at reduced resolution as at full resolution.
float downsampling_compensation(float downsample_x, float core_size) noexcept;

}  // namespace kyrox
