#pragma once

#include <array>

#include "plugin/host/frame_target.h"
#include "plugin/render/float_plane.h"
#include "plugin/render/gauss_buffers.h"
#include "plugin/render/gauss_coefficients.h"
#include "plugin/render/level_rect.h"
#include "plugin/render/worker_pool.h"

// The recursive Gaussian's row jobs, run in this order through parallel_for: the load over the
// glow source plane's rows, the vertical pass over its columns, the horizontal pass over its rows.
// Each filters two glow levels at once, levels 1 and 2 in buffer 0 and levels 3 and 4 in buffer 1,
// and returns true. They do nothing when the buffers do not hold the plane.
namespace kyrox {

// The coefficients and boundary matrix of one buffer's two levels.
struct GaussPass {
    GaussCoefficients coefficients;
    GaussBoundary boundary;
};
using GaussPasses = std::array<GaussPass, 2>;

// Both buffers' filters for the four levels' sigmas. Throws std::invalid_argument for a sigma
// below 0.5.
GaussPasses gauss_passes(const std::array<double, glow_level_count>& sigmas);

// Index = plane row. Both buffers' cells take the plane's value in all four lanes; the plane's
// outermost rows and columns become zero.
bool load_gauss_rows_job(const ThreadWorkData& work, const FloatPlane& source, GaussBuffers& gauss);

// Index = plane column. Filters the column vertically, over the rows the two levels of each
// buffer can reach.
bool gauss_rows_job(const ThreadWorkData& work, const LevelRects& rects, const FloatPlane& source,
                    const GaussPasses& passes, GaussBuffers& gauss);

// Index = plane row. Filters the row horizontally, over the columns the two levels of each buffer
// can reach; stops at the first row that falls at or below the output's bottom.
bool gauss_columns_job(const ThreadWorkData& work, PlaneOffset offset, const FrameTarget& target,
                       const FloatPlane& source, const LevelRects& rects, const GaussPasses& passes,
                       GaussBuffers& gauss);

}  // namespace kyrox
