#pragma once

// The row kernels of the glow combination, for glow_combine.cpp, its AVX2 path and the tests that
// check the paths against each other. The cell formula is written once, for float and for the lane
// types of plugin/platform/simd, so every path takes the same operations in the same order.

#include <array>
#include <cstddef>

#include "plugin/platform/simd/lanes.h"
#include "plugin/render/blur/gauss_blur.h"

namespace kyrox {

// One plane row of the combination: both buffers' cells, the core row it reads and the glow and
// halo rows it writes.
struct CombineRow {
    const GaussPair* levels12;
    const GaussPair* levels34;
    const float* core;
    float* glow;
    float* halo;
};

// The frame's values the row loop reads, held by value: the loop's stores into float rows could
// otherwise alias them and force a reload for every cell.
struct CombineValues {
    std::array<float, glow_level_count> intensities;
    std::array<float, glow_level_count> weights;
    float pre_gamma;
    float brightness;
};

// The tone curve of p (a level value after the pre-gamma power), blended by weight between the
// plain value (0) and the curve (1), times the brightness.
template <class V>
KYROX_LANES V tone_curve(V p, float weight, float brightness) noexcept
{
    const V curve = ((0.48f * p + 0.186286f) * p + 0.333714f) * p + 0.000485714f;
    return (p + weight * (curve - p)) * brightness;
}

// The four levels' values of a cell before shaping: the blurred levels times their intensities,
// level 1 mapping 0.005..1 onto 0..1.
template <class V>
KYROX_LANES std::array<V, glow_level_count> level_values(V level1, V level2, V level3, V level4,
                                                         const CombineValues& v) noexcept
{
    return {(level1 * v.intensities[0] - 0.005f) * 1.0050251f, level2 * v.intensities[1], level3 * v.intensities[2],
            level4 * v.intensities[3]};
}

// Screens t over g; a negative or NaN t adds nothing and keeps g.
template <class V>
KYROX_LANES V screen(V g, V t) noexcept
{
    using simd::positive;  // the lane types' overloads are found by their arguments
    return positive(1.0f - t) * g + positive(t);
}

template <class V>
struct GlowCell {
    V glow;
    V halo;
};

// Levels 1 to 3 (shaped) screened over one another, not clamped above; level 4 clamped to [0, 1]
// and screened with the core.
template <class V>
KYROX_LANES GlowCell<V> combine_levels(const std::array<V, glow_level_count>& shaped, V core) noexcept
{
    using simd::positive;
    using simd::select;
    V g = 0.0f;
    g = screen(g, shaped[0]);
    g = screen(g, shaped[1]);
    g = screen(g, shaped[2]);
    const V h = positive(select(shaped[3] >= 1.0f, V(1.0f), shaped[3]));
    return {g, h * (1.0f - core) + core};
}

// A cell of a pre-gamma of exactly 1 (x^1 is x), which most looks use: no power call, so every
// width takes it.
template <class V>
KYROX_LANES GlowCell<V> combine_plain_cell(V level1, V level2, V level3, V level4, V core,
                                           const CombineValues& v) noexcept
{
    const std::array<V, glow_level_count> x = level_values(level1, level2, level3, level4, v);
    return combine_levels<V>(
        {tone_curve(x[0], v.weights[0], v.brightness), tone_curve(x[1], v.weights[1], v.brightness),
         tone_curve(x[2], v.weights[2], v.brightness), tone_curve(x[3], v.weights[3], v.brightness)},
        core);
}

// Lane 0 and lane 1 of V::size neighbouring cells, as floats in cell order.
template <class V>
struct CellLanes {
    V lane0;
    V lane1;
};

// combine_plain_cell V::size cells at a time from first on; returns the first cell it left (fewer
// than V::size) for the narrower loops. lanes(cells) gives the CellLanes<V> of the cells from cells on:
// each width takes the pairs apart its own way.
template <class V, class Lanes>
KYROX_LANES std::size_t combine_row_plain_lanes(const CombineRow& row, std::size_t first, std::size_t end,
                                                const CombineValues& values, Lanes lanes) noexcept
{
    const CombineValues v = values;
    std::size_t j = first;
    for (; j + V::size <= end; j += V::size) {
        const CellLanes<V> levels12 = lanes(row.levels12 + j);
        const CellLanes<V> levels34 = lanes(row.levels34 + j);
        const GlowCell<V> cell = combine_plain_cell<V>(levels12.lane0, levels12.lane1, levels34.lane0, levels34.lane1,
                                                       V::load(row.core + j), v);
        cell.glow.store(row.glow + j);
        cell.halo.store(row.halo + j);
    }
    return j;
}

// Cells [first, end) of a row combined one at a time, for a pre-gamma of exactly 1.
void combine_row_plain(const CombineRow& row, std::size_t first, std::size_t end, const CombineValues& v) noexcept;

// The same four cells at a time with SSE2, and eight at a time with AVX2 (only on the AVX2 path);
// each returns the first cell it left (fewer than four or eight) for the narrower loops.
std::size_t combine_row_plain_sse2(const CombineRow& row, std::size_t first, std::size_t end,
                                   const CombineValues& v) noexcept;
std::size_t combine_row_plain_avx2(const CombineRow& row, std::size_t first, std::size_t end,
                                   const CombineValues& v) noexcept;

}  // namespace kyrox
