#pragma once

#include <array>

#include "plugin/render/render_inputs.h"
#include "plugin/render/float_plane.h"
#include "plugin/render/blur/gauss_blur.h"
#include "plugin/render/blur/level_rect.h"
#include "plugin/render/worker_pool.h"

namespace kyrox {

// A blurred level value shaped by the scene's pre-gamma and the tone curve, blended by weight
// between the plain value (0) and the curve (1), times the brightness.
float shape_glow_level(float x, float weight, const SceneRecord& scene) noexcept;

// Index = plane row. Turns the four blurred levels into the glow plane (levels 1 to 3 screened
// over one another, not clamped above) and the halo plane (level 4 clamped to [0, 1], screened
// with the core plane). intensities are the four levels' intensities of the frame. Cells whose
// output pixel lies outside the output are not written. Returns true.
bool combine_glow_job(const ThreadWorkData& work, const FrameTarget& target, const FloatPlane& source,
                      const FloatPlane& core, FloatPlane& glow, FloatPlane& halo, const SceneRecord& scene,
                      const std::array<float, glow_level_count>& intensities, const GaussBuffers& gauss);

}  // namespace kyrox
