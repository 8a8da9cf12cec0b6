#include "plugin/render/blur/gauss_blur_kernels.h"

#include <algorithm>
#include <array>

#include "plugin/platform/simd/lanes_avx512.h"
#include "plugin/platform/simd/simd_path.h"
#include "plugin/render/blur/gauss_blur_lanes.h"

// Each cell's operations are those of the one-at-a-time recursion in the same order (the formulas of
// gauss_blur_lanes.h, without fused multiply-adds), so the results are the same bits. A register
// holds twice the cells of the AVX2 pass's, and as many of them run side by side: the recursions
// wait on their previous step, so twice the cells go through in about the same time.

namespace kyrox {

namespace {

// Four cells side by side in one register (eight doubles, both glow levels of each), for the
// formulas of gauss_blur_lanes.h.
struct PairsX4 {
    __m512d v;

    KYROX_AVX512_LANES friend PairsX4 operator+(PairsX4 a, PairsX4 b) noexcept { return {_mm512_add_pd(a.v, b.v)}; }
    KYROX_AVX512_LANES friend PairsX4 operator-(PairsX4 a, PairsX4 b) noexcept { return {_mm512_sub_pd(a.v, b.v)}; }
    KYROX_AVX512_LANES friend PairsX4 operator*(PairsX4 a, PairsX4 b) noexcept { return {_mm512_mul_pd(a.v, b.v)}; }
};

using Coefficients = GaussLaneCoefficients<PairsX4>;

// Lanes registers side by side, each with its own recursion.
template <std::size_t Lanes>
using Wide = std::array<PairsX4, Lanes>;
template <std::size_t Lanes>
using WideHistory = std::array<GaussHistory<PairsX4>, Lanes>;

KYROX_AVX512_TARGET inline PairsX4 four_cells(GaussPair v) noexcept
{
    return {_mm512_setr_pd(v.lane0, v.lane1, v.lane0, v.lane1, v.lane0, v.lane1, v.lane0, v.lane1)};
}

KYROX_AVX512_TARGET inline Coefficients wide_coefficients(const GaussPass& pass) noexcept
{
    return gauss_lane_coefficients<PairsX4>(pass, four_cells);
}

constexpr std::size_t column_lanes = static_cast<std::size_t>(gauss_wide_column_group) / 4;

// How many rows ahead the vertical pass asks for the cells it will read or write.
constexpr std::size_t prefetch_rows = 16;

// The sixteen cells of one plane row from column on, as the load gives them: four groups of four.
// The columns not in keep load as zero.
KYROX_AVX512_TARGET inline Wide<column_lanes> loaded_row(const FloatPlane& source, std::int32_t row,
                                                         std::int32_t column, __mmask16 keep) noexcept
{
    Wide<column_lanes> x;
    if (row == 0 || row == source.height() - 1) {
        x.fill({_mm512_setzero_pd()});
        return x;
    }
    const __m512 v = _mm512_maskz_loadu_ps(keep, source.row(row).data() + column);
    const __m512d low = _mm512_cvtps_pd(_mm512_castps512_ps256(v));
    const __m512d high = _mm512_cvtps_pd(_mm256_castpd_ps(_mm512_extractf64x4_pd(_mm512_castps_pd(v), 1)));
    // Each value into both levels of its cell.
    const __m512i first_four = _mm512_setr_epi64(0, 0, 1, 1, 2, 2, 3, 3);
    const __m512i last_four = _mm512_setr_epi64(4, 4, 5, 5, 6, 6, 7, 7);
    x[0] = {_mm512_permutexvar_pd(first_four, low)};
    x[1] = {_mm512_permutexvar_pd(last_four, low)};
    x[2] = {_mm512_permutexvar_pd(first_four, high)};
    x[3] = {_mm512_permutexvar_pd(last_four, high)};
    return x;
}

// A result of the vertical pass, past the cache: the horizontal pass reads it long after, and the
// whole lines written need not be read first. Cells are only sure to be 16-byte aligned.
KYROX_AVX512_TARGET inline void store_result(double* cell, PairsX4 v) noexcept
{
    _mm_stream_pd(cell, _mm512_castpd512_pd128(v.v));
    _mm_stream_pd(cell + 2, _mm512_extractf64x2_pd(v.v, 1));
    _mm_stream_pd(cell + 4, _mm512_extractf64x2_pd(v.v, 2));
    _mm_stream_pd(cell + 6, _mm512_extractf64x2_pd(v.v, 3));
}

// Sixteen columns from column on. kept holds the forward outputs, kept_stride cells apart per row.
KYROX_AVX512_TARGET void vertical_group(const FloatPlane& source, std::int32_t column, CellSpan rows,
                                        const Coefficients& c, GaussPair* cells, GaussPair* kept,
                                        std::size_t kept_stride) noexcept
{
    const std::int32_t width = source.width();
    const auto stride = static_cast<std::size_t>(width);
    const auto first = static_cast<std::int32_t>(rows.first);
    const auto end = static_cast<std::int32_t>(rows.first + rows.count);
    // The plane's outermost columns load as zero.
    __mmask16 keep = 0xffff;
    for (std::int32_t l = 0; l < gauss_wide_column_group; ++l) {
        const std::int32_t j = column + l;
        if (j == 0 || j == width - 1) {
            keep = static_cast<__mmask16>(keep & ~(1u << l));
        }
    }
    const auto double_at = [](GaussPair* row, std::size_t l) { return &row[4 * l].lane0; };

    for (std::int32_t i = 0; i < source.height(); ++i) {
        if (i < first || i >= end) {
            const Wide<column_lanes> loaded = loaded_row(source, i, column, keep);
            for (std::size_t l = 0; l < column_lanes; ++l) {
                store_result(
                    double_at(cells + static_cast<std::size_t>(i) * stride + static_cast<std::size_t>(column), l),
                    loaded[l]);
            }
        }
    }
    if (rows.count == 0) {
        _mm_sfence();
        return;
    }
    Wide<column_lanes> x = loaded_row(source, first, column, keep);
    WideHistory<column_lanes> y;
    for (std::size_t l = 0; l < column_lanes; ++l) {
        y[l] = gauss_forward_start(c, x[l]);
    }
    for (std::size_t i = 0; i < rows.count; ++i) {
        // The rows lie a page or more apart, too far for the hardware to fetch them ahead.
        if (i + prefetch_rows < rows.count) {
            _mm_prefetch(reinterpret_cast<const char*>(
                             source.row(first + static_cast<std::int32_t>(i + prefetch_rows)).data() + column),
                         _MM_HINT_T0);
        }
        x = loaded_row(source, first + static_cast<std::int32_t>(i), column, keep);
        GaussPair* const forward = kept + i * kept_stride;
        for (std::size_t l = 0; l < column_lanes; ++l) {
            const PairsX4 v = gauss_step(c, x[l], y[l]);
            _mm512_storeu_pd(double_at(forward, l), v.v);
            gauss_push(y[l], v);
        }
    }

    WideHistory<column_lanes> z;
    GaussPair* const out = cells + rows.first * stride + static_cast<std::size_t>(column);
    for (std::size_t l = 0; l < column_lanes; ++l) {
        z[l] = gauss_backward_start(c, y[l], x[l]);
        store_result(double_at(out + (rows.count - 1) * stride, l), z[l].y1 * c.b);
    }
    for (std::size_t i = rows.count - 1; i-- > 0;) {
        GaussPair* const forward = kept + i * kept_stride;
        for (std::size_t l = 0; l < column_lanes; ++l) {
            const PairsX4 v = gauss_step(c, {_mm512_loadu_pd(double_at(forward, l))}, z[l]);
            store_result(double_at(out + i * stride, l), v * c.b);
            gauss_push(z[l], v);
        }
    }
    _mm_sfence();
}

constexpr std::size_t row_lanes = static_cast<std::size_t>(gauss_row_group) / 4;

// gauss_row_group rows in place over count cells from their starts: register l holds one cell of
// rows 4 l to 4 l + 3, in that order from its low end.
using GroupRows = std::array<GaussPair*, gauss_row_group>;

KYROX_AVX512_TARGET inline PairsX4 load_four(const GroupRows& rows, std::size_t i, std::size_t l) noexcept
{
    __m512d v = _mm512_castpd128_pd512(_mm_loadu_pd(&rows[4 * l][i].lane0));
    v = _mm512_insertf64x2(v, _mm_loadu_pd(&rows[4 * l + 1][i].lane0), 1);
    v = _mm512_insertf64x2(v, _mm_loadu_pd(&rows[4 * l + 2][i].lane0), 2);
    return {_mm512_insertf64x2(v, _mm_loadu_pd(&rows[4 * l + 3][i].lane0), 3)};
}

KYROX_AVX512_TARGET inline void store_four(const GroupRows& rows, std::size_t i, std::size_t l, PairsX4 v) noexcept
{
    _mm_storeu_pd(&rows[4 * l][i].lane0, _mm512_castpd512_pd128(v.v));
    _mm_storeu_pd(&rows[4 * l + 1][i].lane0, _mm512_extractf64x2_pd(v.v, 1));
    _mm_storeu_pd(&rows[4 * l + 2][i].lane0, _mm512_extractf64x2_pd(v.v, 2));
    _mm_storeu_pd(&rows[4 * l + 3][i].lane0, _mm512_extractf64x2_pd(v.v, 3));
}

KYROX_AVX512_TARGET void horizontal_group(const GroupRows& rows, std::size_t count, const Coefficients& c) noexcept
{
    Wide<row_lanes> last_input;
    WideHistory<row_lanes> y;
    for (std::size_t l = 0; l < row_lanes; ++l) {
        y[l] = gauss_forward_start(c, load_four(rows, 0, l));
    }
    for (std::size_t i = 0; i < count; ++i) {
        for (std::size_t l = 0; l < row_lanes; ++l) {
            const PairsX4 x = load_four(rows, i, l);
            last_input[l] = x;
            const PairsX4 v = gauss_step(c, x, y[l]);
            store_four(rows, i, l, v);
            gauss_push(y[l], v);
        }
    }

    WideHistory<row_lanes> z;
    for (std::size_t l = 0; l < row_lanes; ++l) {
        z[l] = gauss_backward_start(c, y[l], last_input[l]);
        store_four(rows, count - 1, l, z[l].y1 * c.b);
    }
    for (std::size_t i = count - 1; i-- > 0;) {
        for (std::size_t l = 0; l < row_lanes; ++l) {
            const PairsX4 v = gauss_step(c, load_four(rows, i, l), z[l]);
            store_four(rows, i, l, v * c.b);
            gauss_push(z[l], v);
        }
    }
}

}  // namespace

KYROX_AVX512_TARGET void gauss_vertical_block_avx512(const FloatPlane& source, ColumnBlock block, const GaussPass& pass,
                                                     std::span<GaussPair> buffer, std::span<GaussPair> strip) noexcept
{
    if (!gauss_vertical_block_fits(source, block, buffer)) {
        return;
    }
    const auto whole = block.count - block.count % gauss_wide_column_group;
    const Coefficients c = wide_coefficients(pass);
    const bool use_strip = strip.size() / static_cast<std::size_t>(gauss_wide_column_group) >= block.rows.count;
    const auto stride = static_cast<std::size_t>(source.width());
    for (std::int32_t col = block.column; col < block.column + whole; col += gauss_wide_column_group) {
        GaussPair* const in_buffer = buffer.data() + block.rows.first * stride + static_cast<std::size_t>(col);
        if (use_strip) {
            vertical_group(source, col, block.rows, c, buffer.data(), strip.data(),
                           static_cast<std::size_t>(gauss_wide_column_group));
        } else {
            vertical_group(source, col, block.rows, c, buffer.data(), in_buffer, stride);
        }
    }
    gauss_vertical_block_avx2(source, {block.column + whole, block.count - whole, block.rows}, pass, buffer, strip);
}

KYROX_AVX512_TARGET void gauss_horizontal_block_avx512(std::span<GaussPair> buffer, std::int32_t width, RowBlock block,
                                                       const GaussPass& pass) noexcept
{
    if (!gauss_horizontal_block_fits(buffer, width, block)) {
        return;
    }
    const std::int32_t whole = block.columns.count > 0 ? block.count - block.count % gauss_row_group : 0;
    const Coefficients c = wide_coefficients(pass);
    for (std::int32_t r = block.row; r < block.row + whole; r += gauss_row_group) {
        GroupRows rows{};
        for (std::size_t l = 0; l < rows.size(); ++l) {
            rows[l] = buffer.data() + (static_cast<std::size_t>(r) + l) * static_cast<std::size_t>(width) +
                      block.columns.first;
        }
        horizontal_group(rows, block.columns.count, c);
    }
    gauss_horizontal_block_avx2(buffer, width, {block.row + whole, block.count - whole, block.columns}, pass);
}

}  // namespace kyrox
