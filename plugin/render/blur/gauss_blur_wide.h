#pragma once

// The recursive Gaussian's wide passes, written once over the pair lanes of
// plugin/platform/simd/pair_lanes.h: P is PairsX2 on the AVX2 path and PairsX4 on the AVX-512 path.
// Every function is KYROX_LANES, so that it compiles inside the target-attributed entry points of
// gauss_blur_avx2.cpp and gauss_blur_avx512.cpp. Each cell's operations are those of the one-at-a-time
// recursion in the same order (the formulas of gauss_blur_lanes.h, without fused multiply-adds), so
// the results are the same bits. The recursions wait on their previous step, so several registers run
// side by side.

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "plugin/platform/simd/lanes.h"
#include "plugin/render/blur/gauss_blur_kernels.h"
#include "plugin/render/blur/gauss_blur_lanes.h"

namespace kyrox {

// A pass's coefficients with each pair repeated across the register.
template <class P>
KYROX_LANES GaussLaneCoefficients<P> gauss_pair_coefficients(const GaussPass& pass) noexcept
{
    struct Repeated {
        KYROX_LANES P operator()(GaussPair v) const noexcept { return P::repeated(v.lane0, v.lane1); }
    };
    return gauss_lane_coefficients<P>(pass, Repeated{});
}

// How many rows ahead the vertical pass asks for the cells it will read.
inline constexpr std::size_t gauss_prefetch_rows = 16;

// The cells of one plane row from column on as Load gives them (Load::registers registers of
// P::pairs cells), zero on the plane's outermost rows.
template <class P, class Load>
KYROX_LANES std::array<P, Load::registers> gauss_loaded_row(const FloatPlane& source, const Load& load,
                                                            std::int32_t row, std::int32_t column) noexcept
{
    if (row == 0 || row == source.height() - 1) {
        std::array<P, Load::registers> zero;
        zero.fill(P(0.0));
        return zero;
    }
    return load(source.row(row).data() + column);
}

// The vertical pass over Load::registers x P::pairs columns from column on: every row loaded, the
// rows outside `rows` stored as loaded, the others filtered. kept holds the forward outputs,
// kept_stride cells apart per row. The results go past the cache: the horizontal pass reads them long
// after, and the whole lines written need not be read first.
template <class P, class Load>
KYROX_LANES void gauss_vertical_group(const FloatPlane& source, const Load& load, std::int32_t column, CellSpan rows,
                                      const GaussLaneCoefficients<P>& c, GaussPair* cells, GaussPair* kept,
                                      std::size_t kept_stride) noexcept
{
    constexpr std::size_t registers = Load::registers;
    const auto stride = static_cast<std::size_t>(source.width());
    const auto first = static_cast<std::int32_t>(rows.first);
    const auto end = static_cast<std::int32_t>(rows.first + rows.count);
    const auto double_at = [](GaussPair* row, std::size_t l) { return &row[P::pairs * l].lane0; };

    for (std::int32_t i = 0; i < source.height(); ++i) {
        if (i < first || i >= end) {
            const std::array<P, registers> loaded = gauss_loaded_row<P>(source, load, i, column);
            for (std::size_t l = 0; l < registers; ++l) {
                loaded[l].stream(
                    double_at(cells + static_cast<std::size_t>(i) * stride + static_cast<std::size_t>(column), l));
            }
        }
    }
    if (rows.count == 0) {
        _mm_sfence();
        return;
    }
    std::array<P, registers> x = gauss_loaded_row<P>(source, load, first, column);
    std::array<GaussHistory<P>, registers> y;
    for (std::size_t l = 0; l < registers; ++l) {
        y[l] = gauss_forward_start(c, x[l]);
    }
    for (std::size_t i = 0; i < rows.count; ++i) {
        // The rows lie a page or more apart, too far for the hardware to fetch them ahead.
        if (i + gauss_prefetch_rows < rows.count) {
            _mm_prefetch(reinterpret_cast<const char*>(
                             source.row(first + static_cast<std::int32_t>(i + gauss_prefetch_rows)).data() + column),
                         _MM_HINT_T0);
        }
        x = gauss_loaded_row<P>(source, load, first + static_cast<std::int32_t>(i), column);
        GaussPair* const forward = kept + i * kept_stride;
        for (std::size_t l = 0; l < registers; ++l) {
            const P v = gauss_step(c, x[l], y[l]);
            v.store(double_at(forward, l));
            gauss_push(y[l], v);
        }
    }

    std::array<GaussHistory<P>, registers> z;
    GaussPair* const out = cells + rows.first * stride + static_cast<std::size_t>(column);
    for (std::size_t l = 0; l < registers; ++l) {
        z[l] = gauss_backward_start(c, y[l], x[l]);
        (z[l].y1 * c.b).stream(double_at(out + (rows.count - 1) * stride, l));
    }
    for (std::size_t i = rows.count - 1; i-- > 0;) {
        GaussPair* const forward = kept + i * kept_stride;
        for (std::size_t l = 0; l < registers; ++l) {
            const P v = gauss_step(c, P::load(double_at(forward, l)), z[l]);
            (v * c.b).stream(double_at(out + i * stride, l));
            gauss_push(z[l], v);
        }
    }
    _mm_sfence();
}

// gauss_vertical_block's pass over the block's whole groups of Load::registers x P::pairs columns,
// Load(column, plane width) loading each group's rows, the forward outputs in strip when it holds a
// group's column of the block's rows; narrower (the pass of the next narrower path) takes the columns
// left.
template <class P, class Load, class Narrower>
KYROX_LANES void gauss_vertical_block_wide(const FloatPlane& source, ColumnBlock block, const GaussPass& pass,
                                           std::span<GaussPair> buffer, std::span<GaussPair> strip,
                                           Narrower narrower) noexcept
{
    if (!gauss_vertical_block_fits(source, block, buffer)) {
        return;
    }
    constexpr auto group = static_cast<std::int32_t>(Load::registers * P::pairs);
    const std::int32_t whole = block.count - block.count % group;
    const GaussLaneCoefficients<P> c = gauss_pair_coefficients<P>(pass);
    const bool use_strip = strip.size() / static_cast<std::size_t>(group) >= block.rows.count;
    const auto stride = static_cast<std::size_t>(source.width());
    for (std::int32_t col = block.column; col < block.column + whole; col += group) {
        GaussPair* const kept = use_strip ? strip.data()
                                          : buffer.data() + block.rows.first * stride + static_cast<std::size_t>(col);
        gauss_vertical_group<P>(source, Load(col, source.width()), col, block.rows, c, buffer.data(), kept,
                                use_strip ? static_cast<std::size_t>(group) : stride);
    }
    narrower(source, {block.column + whole, block.count - whole, block.rows}, pass, buffer, strip);
}

// Registers x P::pairs rows in place over count cells from first on, the rows stride cells apart:
// register l holds one cell of rows P::pairs x l to P::pairs x l + P::pairs - 1, in that order from its
// low end.
template <class P, std::size_t Registers>
KYROX_LANES void gauss_horizontal_group(GaussPair* first, std::size_t stride, std::size_t count,
                                        const GaussLaneCoefficients<P>& c) noexcept
{
    const std::size_t next_row = 2 * stride;  // in doubles
    const auto cell = [first, stride](std::size_t i, std::size_t l) { return &first[P::pairs * l * stride + i].lane0; };
    std::array<P, Registers> last_input;
    std::array<GaussHistory<P>, Registers> y;
    for (std::size_t l = 0; l < Registers; ++l) {
        y[l] = gauss_forward_start(c, P::load_strided(cell(0, l), next_row));
    }
    for (std::size_t i = 0; i < count; ++i) {
        for (std::size_t l = 0; l < Registers; ++l) {
            const P x = P::load_strided(cell(i, l), next_row);
            last_input[l] = x;
            const P v = gauss_step(c, x, y[l]);
            v.store_strided(cell(i, l), next_row);
            gauss_push(y[l], v);
        }
    }

    std::array<GaussHistory<P>, Registers> z;
    for (std::size_t l = 0; l < Registers; ++l) {
        z[l] = gauss_backward_start(c, y[l], last_input[l]);
        (z[l].y1 * c.b).store_strided(cell(count - 1, l), next_row);
    }
    for (std::size_t i = count - 1; i-- > 0;) {
        for (std::size_t l = 0; l < Registers; ++l) {
            const P v = gauss_step(c, P::load_strided(cell(i, l), next_row), z[l]);
            (v * c.b).store_strided(cell(i, l), next_row);
            gauss_push(z[l], v);
        }
    }
}

// gauss_horizontal_group with n registers, 1 <= n <= Registers, so that a block's last rows still fill
// whole registers.
template <class P, std::size_t Registers>
KYROX_LANES void gauss_horizontal_registers(std::size_t n, GaussPair* first, std::size_t stride, std::size_t count,
                                            const GaussLaneCoefficients<P>& c) noexcept
{
    if constexpr (Registers > 1) {
        if (n < Registers) {
            gauss_horizontal_registers<P, Registers - 1>(n, first, stride, count, c);
            return;
        }
    }
    gauss_horizontal_group<P, Registers>(first, stride, count, c);
}

// gauss_horizontal_block's pass over the block's rows that fill whole registers, gauss_row_group rows
// side by side; narrower (the pass of the next narrower path) takes the rows left.
template <class P, class Narrower>
KYROX_LANES void gauss_horizontal_block_wide(std::span<GaussPair> buffer, std::int32_t width, RowBlock block,
                                             const GaussPass& pass, Narrower narrower) noexcept
{
    if (!gauss_horizontal_block_fits(buffer, width, block)) {
        return;
    }
    constexpr auto pairs = static_cast<std::int32_t>(P::pairs);
    constexpr auto registers = static_cast<std::size_t>(gauss_row_group / pairs);
    const std::int32_t whole = block.columns.count > 0 ? block.count - block.count % pairs : 0;
    const GaussLaneCoefficients<P> c = gauss_pair_coefficients<P>(pass);
    const auto stride = static_cast<std::size_t>(width);
    for (std::int32_t r = block.row; r < block.row + whole; r += gauss_row_group) {
        const std::int32_t rows = std::min(gauss_row_group, block.row + whole - r);
        gauss_horizontal_registers<P, registers>(
            static_cast<std::size_t>(rows / pairs),
            buffer.data() + static_cast<std::size_t>(r) * stride + block.columns.first, stride, block.columns.count, c);
    }
    narrower(buffer, width, {block.row + whole, block.count - whole, block.columns}, pass);
}

}  // namespace kyrox
