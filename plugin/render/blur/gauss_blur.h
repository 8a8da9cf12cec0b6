#pragma once

// The recursive Gaussian that blurs the four glow levels: its passes, work buffers and the row jobs
// that run it over a plane. The filter itself is in gauss_blur_kernels.h.

#include <array>
#include <cstdint>
#include <vector>

#include "plugin/platform/simd/simd_path.h"
#include "plugin/render/float_plane.h"
#include "plugin/render/blur/level_rect.h"
#include "plugin/render/render_inputs.h"
#include "plugin/render/worker_pool.h"

namespace kyrox {

// Two doubles worked on together, one lane per glow level: the recursive Gaussian filters two
// levels in one pass. Aligned as one 16-byte register, which the wide passes store past the cache.
struct alignas(16) GaussPair {
    double lane0 = 0.0;
    double lane1 = 0.0;

    friend GaussPair operator+(GaussPair a, GaussPair b) noexcept { return {a.lane0 + b.lane0, a.lane1 + b.lane1}; }
    friend GaussPair operator-(GaussPair a, GaussPair b) noexcept { return {a.lane0 - b.lane0, a.lane1 - b.lane1}; }
    friend GaussPair operator*(GaussPair a, GaussPair b) noexcept { return {a.lane0 * b.lane0, a.lane1 * b.lane1}; }
};

// The recursion y[n] = x[n] + b1 y[n-1] + b2 y[n-2] + b3 y[n-3] of a third-order recursive
// Gaussian, per lane. k = 1 / (1 - b1 - b2 - b3) is the steady-state gain; b scales the result
// once, after the forward and the backward pass.
struct GaussCoefficients {
    GaussPair k;
    GaussPair b1;
    GaussPair b2;
    GaussPair b3;
    GaussPair b;
};

// The 3 x 3 matrix, row-major, that starts the backward pass at a run's end from the forward
// pass's last outputs, per lane.
struct GaussBoundary {
    std::array<GaussPair, 9> m;
};

// The recursive Gaussian's work cells: buffer 0 holds glow levels 1 and 2 (lane 0, lane 1),
// buffer 1 levels 3 and 4. The cell of plane row i, column j is at i x width + j.
struct GaussBuffers {
    std::array<std::vector<GaussPair>, 2> buffers;
    std::uint64_t cell_count = 0;  // what both buffers were last sized for
    // The vertical pass's forward outputs, one strip per chunk of a batch (by its index), of as many
    // columns as the path's widest column group; kept from frame to frame, so that frames of one size
    // allocate nothing.
    std::array<std::vector<GaussPair>, 64> strips;
};

// Gives both buffers cell_count zero cells unless they were last sized for that count; kept
// contents are not cleared. Throws std::bad_alloc when the cells cannot be had, leaving both
// buffers empty and the count 0, so that the next frame tries again.
void size_gauss_buffers(GaussBuffers& gauss, std::uint64_t cell_count);

// Gives the strips of the first `chunks` chunks (at most 64) the cells of a plane `height` rows tall,
// keeping those that have them, and releases the others. Called before a batch's chunks run, so that
// none of them allocates: a strip that cannot be had stays empty and its chunk works without one.
void size_gauss_strips(GaussBuffers& gauss, std::int32_t height, std::int32_t chunks) noexcept;

// Whether both buffers hold a width x height plane.
bool holds_plane(const GaussBuffers& gauss, std::int32_t width, std::int32_t height) noexcept;

// The work buffers of one pixel depth (Channel of the host's pixels). They outlive frames, so
// that frames of one size allocate nothing for the blur, and are released when the plug-in is
// unloaded. Two frames of one depth must not use them at the same time.
template <class Channel>
GaussBuffers& depth_gauss_buffers()
{
    static GaussBuffers buffers;
    return buffers;
}

// The coefficients and boundary matrix of one buffer's two levels.
struct GaussPass {
    GaussCoefficients coefficients;
    GaussBoundary boundary;
};
using GaussPasses = std::array<GaussPass, 2>;

// Both buffers' filters for the four levels' sigmas. Throws std::invalid_argument for a sigma
// below 0.5.
GaussPasses gauss_passes(const std::array<double, glow_level_count>& sigmas);

// Columns the vertical pass filters side by side: 8 pairs fill two cache lines, so each row visit
// uses whole lines instead of one pair of a line per column.
inline constexpr std::int32_t gauss_column_group = 8;

// Columns the AVX-512 vertical pass filters side by side: four registers of four pairs, so that its
// recursions, which wait on their previous step, fill the register file as the AVX2 pass's do. Each
// row visit writes four whole lines. The strips of the AVX-512 path hold this many columns.
inline constexpr std::int32_t gauss_wide_column_group = 16;

// The columns the path's widest vertical kernel filters side by side: the width of a worker's strip,
// and the grain the vertical pass's columns are handed out in, so that no block splits a group.
constexpr std::int32_t gauss_side_by_side_columns(simd::SimdPath path) noexcept
{
    return path >= simd::SimdPath::avx512 ? gauss_wide_column_group : gauss_column_group;
}

// Rows the horizontal pass filters side by side, so that the recursions of some rows run while
// the others wait on their previous step.
inline constexpr std::int32_t gauss_row_group = 8;

// The recursive Gaussian's row jobs, run in this order through parallel_for: the vertical pass over
// the glow source plane's columns, which also loads the plane into the buffers, then the horizontal
// pass over its rows. Each filters two glow levels at once, levels 1 and 2 in buffer 0 and levels 3
// and 4 in buffer 1, and returns true. They do nothing when the buffers do not hold the plane.

// Index = plane column. Loads the column into both buffers and filters it vertically, over the rows
// the two levels of each buffer can reach, through the chunk's strip where size_gauss_strips gave it one.
bool gauss_rows_job(const ThreadWorkData& work, const LevelRects& rects, const FloatPlane& source,
                    const GaussPasses& passes, GaussBuffers& gauss);

// Index = plane row. Filters the row horizontally, over the columns the two levels of each buffer
// can reach; stops at the first row that falls at or below the output's bottom.
bool gauss_columns_job(const ThreadWorkData& work, const FrameTarget& target, const FloatPlane& source,
                       const LevelRects& rects, const GaussPasses& passes, GaussBuffers& gauss);

}  // namespace kyrox
