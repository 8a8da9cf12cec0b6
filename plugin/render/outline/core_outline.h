#pragma once

#include <vector>

#include "plugin/render/coverage/row_spans.h"
#include "plugin/render/render_inputs.h"
#include "plugin/render/geometry/core_polygon.h"
#include "plugin/render/outline/elliptic_cap.h"

namespace kyrox {

// The core's outlines for one frame, in plane pixels. With paths, one stroke outline (a path piece) per
// piece of at least two points, each with its own flicker weight when Mask Randomization is on;
// without, one blade outline (kind 0) over the motion-blur samples, or none when no sample has
// finite points. start_cap and end_cap are already scaled by 1 / downsample. rows are the plane rows the
// outlines are filled on.
std::vector<CorePolygon> build_core_outline(const SceneRecord& scene, float downsample, float time, CapSize start_cap,
                                            CapSize end_cap, RowWindow rows = {});

}  // namespace kyrox
