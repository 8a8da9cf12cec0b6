#pragma once

#include <span>
#include <vector>

#include "plugin/render/render_inputs.h"
#include "plugin/render/geometry/core_polygon.h"

namespace kyrox {

// The stroke outline of one path piece: its points offset to both sides by their half width (times
// scale, 1 / downsample), an elliptic cap round each end whose half width exceeds 0.1, with
// start_points and end_points cap points: [start cap] A_0 .. A_{w-1} [end cap] B_{w-1} .. B_0.
// Offsets use each segment's own direction, without joins. Fewer than 2 points give no outline.
std::vector<OutlinePoint> build_stroke_outline(std::span<const PathPoint> piece, float scale, std::int32_t start_points,
                                               std::int32_t end_points);

}  // namespace kyrox
