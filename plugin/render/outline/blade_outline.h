#pragma once

#include <span>
#include <vector>

#include "plugin/render/coverage/row_spans.h"
#include "plugin/render/render_inputs.h"
#include "plugin/render/geometry/core_polygon.h"
#include "plugin/render/outline/elliptic_cap.h"
#include "plugin/render/worker_pool.h"

namespace kyrox {

// Visible part of the core and its caps, shared by every motion-blur sample.
struct BladeShape {
    float start_offset = 0.0f;
    float end_offset = 1.0f;
    CapSize start;
    CapSize end;
    std::int32_t start_points = 4;
    std::int32_t end_points = 4;
};

// The blade's outline over all samples: one sample's capsule as it is; for several, the hull swept
// by the capsules and the quads between consecutive samples' caps, reduced to one row-monotone
// outline on the pool. Samples with non-finite points are left out; none left gives no points. The swept
// outline is walked row by row only within the rows it is filled on (see row_monotone_outline).
std::vector<OutlinePoint> build_blade_outline(WorkerPool& pool, std::span<const CoreSegment> samples,
                                              const BladeShape& shape, RowWindow rows = {});

}  // namespace kyrox
