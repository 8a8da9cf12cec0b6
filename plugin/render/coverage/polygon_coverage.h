#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "plugin/render/geometry/core_polygon.h"
#include "plugin/render/coverage/row_range_edges.h"
#include "plugin/render/coverage/scanline_crossings.h"
#include "plugin/render/float_plane.h"
#include "plugin/render/worker_pool.h"

namespace kyrox {

// How one outline is sampled: sub_samples x sub_samples samples per pixel, each of sample_weight;
// a whole pixel of one sub-row weighs row_weight.
struct CoverageParams {
    std::int32_t sub_samples = 16;
    float sample_weight = 0.00390625f;
    float row_weight = 0.0625f;
    std::span<const OutlinePoint> points;
    float intensity = 1.0f;
};

// What every chunk of one outline's row batch shares. Rows are sub-rows from first_sub_row on.
struct CoverageJob {
    std::int32_t first_sub_row = 0;
    const CoverageParams* params = nullptr;
    std::span<const EdgeRecord> edges;  // in sub-sample units, sorted by ymin
    PolygonKind kind = PolygonKind::blade;
    FloatPlane* glow_source = nullptr;
    FloatPlane* core = nullptr;
    float intensity = 1.0f;
    std::int32_t width = 0;
    // Set when edges may hold equal ymin in another order than the whole sorted list: a pixel row
    // with crossings of equal x is then worked from these.
    WholeOrderEdges* whole_order = nullptr;
};

// Adds the anti-aliased coverage of the outline into both planes: times intensity (never below 0)
// into the glow source, plainly into the core plane. a blade fills each sub-scanline from its leftmost
// to its rightmost crossing, a path piece by the nonzero winding rule. Fewer than three points,
// a non-finite point, or planes without cells add nothing; a non-finite intensity counts as 0.
// Runs on the pool.
void fill_polygon_coverage(const CoverageParams& params, FloatPlane& glow_source, FloatPlane& core, PolygonKind kind);

// Row job over sub-rows: handles every pixel row whose first sub-row lies in the chunk's range
// (both ends rounded down to whole pixel rows), so each pixel row belongs to exactly one chunk.
bool polygon_rows_job(const ThreadWorkData& work, const CoverageJob& job);

}  // namespace kyrox
