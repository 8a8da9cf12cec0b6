#pragma once

// The recursive Gaussian's filter: its coefficients, the recursion over one run of cells and the
// passes over blocks of a plane, on the baseline, the AVX2 and the AVX-512 path, for gauss_blur.cpp,
// its wide paths and the tests that check them. The per-cell formulas are in gauss_blur_lanes.h.

#include <cstddef>
#include <cstdint>
#include <span>

#include "plugin/render/blur/gauss_blur.h"

namespace kyrox {

// The filter's shape parameter q for one sigma.
double gauss_q(double sigma) noexcept;

// Fills out with lane 0 for sigma_a and lane 1 for sigma_b. Throws std::invalid_argument, leaving
// out untouched, when either sigma is below 0.5 or NaN: the filter is not a Gaussian there.
GaussCoefficients& compute_gauss_coefficients(GaussCoefficients& out, double sigma_a, double sigma_b);

// Fills out with the boundary matrix of each lane of the coefficients.
GaussBoundary& compute_gauss_boundary(GaussBoundary& out, const GaussCoefficients& coefficients);

// count cells of a buffer, from cell first on, stepping by stride cells.
struct StridedRun {
    std::size_t first = 0;
    std::size_t stride = 1;
    std::size_t count = 0;
};

// Blurs a strided run (a plane column) in place, both lanes at once: forward and backward passes
// of the recursion, the cells before the run taken as the steady response to its first cell and
// those after it by Triggs and Sdika's boundary matrix. Runs of any length touch only their own
// cells; a run that does not lie inside the buffer is left alone.
void gauss_iir_rows(std::span<GaussPair> buffer, StridedRun run, const GaussCoefficients& coefficients,
                    const GaussBoundary& boundary) noexcept;

// The same for a contiguous run (part of a plane row).
void gauss_iir_columns(std::span<GaussPair> run, const GaussCoefficients& coefficients,
                       const GaussBoundary& boundary) noexcept;

// The cells [first, first + count) of one direction.
struct CellSpan {
    std::size_t first = 0;
    std::size_t count = 0;
};

// Neighbouring plane columns [column, column + count) of the vertical pass, filtered over rows.
struct ColumnBlock {
    std::int32_t column = 0;
    std::int32_t count = 0;
    CellSpan rows;
};

// Neighbouring plane rows [row, row + count) of the horizontal pass, filtered over columns.
struct RowBlock {
    std::int32_t row = 0;
    std::int32_t count = 0;
    CellSpan columns;
};

// The cells [column, column + cells.size()) of one plane row as the blur starts from them: the
// plane's values in both lanes, zero on its outermost rows and columns. The cells must lie inside
// the plane.
void load_gauss_cells(const FloatPlane& source, std::int32_t row, std::int32_t column,
                      std::span<GaussPair> cells) noexcept;

// The vertical pass over a block of columns of a buffer that holds the source plane: every cell of
// the block's columns takes the plane's value in both lanes (zero on the plane's outermost rows and
// columns), and the block's rows are filtered. The forward pass's outputs go to strip when it holds
// gauss_column_group x rows.count cells: a column block's cells lie a whole plane row apart and
// share few cache sets, so the cache could not keep them for the backward pass. Otherwise they stay
// in the buffer. Blocks that do not lie inside the plane are left alone.
void gauss_vertical_block(const FloatPlane& source, ColumnBlock block, const GaussPass& pass,
                          std::span<GaussPair> buffer, std::span<GaussPair> strip) noexcept;

// The horizontal pass over a block of rows of a buffer that holds a plane of the given width.
// Blocks that do not lie inside the buffer are left alone.
void gauss_horizontal_block(std::span<GaussPair> buffer, std::int32_t width, RowBlock block,
                            const GaussPass& pass) noexcept;

// Whether a block lies inside the plane and the buffer holds the plane: the blocks the passes filter.
bool gauss_vertical_block_fits(const FloatPlane& source, ColumnBlock block, std::span<const GaussPair> buffer) noexcept;
bool gauss_horizontal_block_fits(std::span<const GaussPair> buffer, std::int32_t width, RowBlock block) noexcept;

// The same passes with AVX2, two cells in each register and four registers side by side, bit for
// bit the same; a block's last columns that do not fill a group, and an odd last row, go through
// the passes above. Only on the AVX2 path.
void gauss_vertical_block_avx2(const FloatPlane& source, ColumnBlock block, const GaussPass& pass,
                               std::span<GaussPair> buffer, std::span<GaussPair> strip) noexcept;
void gauss_horizontal_block_avx2(std::span<GaussPair> buffer, std::int32_t width, RowBlock block,
                                 const GaussPass& pass) noexcept;

// The same passes with AVX-512, four cells in each register, bit for bit the same. The vertical pass
// filters gauss_wide_column_group columns side by side, keeping the forward outputs in strip when it
// holds gauss_wide_column_group x rows.count cells; the horizontal pass fills each register with
// one cell of four rows, gauss_row_group rows side by side. A block's columns or rows that do not
// fill a group go through the AVX2 passes. Only on the AVX-512 path.
void gauss_vertical_block_avx512(const FloatPlane& source, ColumnBlock block, const GaussPass& pass,
                                 std::span<GaussPair> buffer, std::span<GaussPair> strip) noexcept;
void gauss_horizontal_block_avx512(std::span<GaussPair> buffer, std::int32_t width, RowBlock block,
                                   const GaussPass& pass) noexcept;

}  // namespace kyrox
