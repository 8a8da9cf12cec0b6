#include "plugin/render/blur/gauss_blur_kernels.h"

#include <algorithm>
#include <array>

#include "plugin/platform/simd/lanes_avx2.h"
#include "plugin/platform/simd/simd_path.h"
#include "plugin/render/blur/gauss_blur_lanes.h"

// Each cell's operations are those of the one-at-a-time recursion in the same order (the formulas of
// gauss_blur_lanes.h, without fused multiply-adds), so the results are the same bits.

namespace kyrox {

namespace {

// Two cells side by side in one register (four doubles, both glow levels of each), for the
// formulas of gauss_blur_lanes.h.
struct PairsX2 {
    __m256d v;

    KYROX_AVX2_LANES friend PairsX2 operator+(PairsX2 a, PairsX2 b) noexcept { return {_mm256_add_pd(a.v, b.v)}; }
    KYROX_AVX2_LANES friend PairsX2 operator-(PairsX2 a, PairsX2 b) noexcept { return {_mm256_sub_pd(a.v, b.v)}; }
    KYROX_AVX2_LANES friend PairsX2 operator*(PairsX2 a, PairsX2 b) noexcept { return {_mm256_mul_pd(a.v, b.v)}; }
};

using Coefficients = GaussLaneCoefficients<PairsX2>;

// Lanes registers side by side, each with its own recursion.
template <std::size_t Lanes>
using Wide = std::array<PairsX2, Lanes>;
template <std::size_t Lanes>
using WideHistory = std::array<GaussHistory<PairsX2>, Lanes>;

KYROX_AVX2_TARGET inline PairsX2 both_cells(GaussPair v) noexcept
{
    return {_mm256_setr_pd(v.lane0, v.lane1, v.lane0, v.lane1)};
}

KYROX_AVX2_TARGET inline Coefficients wide_coefficients(const GaussPass& pass) noexcept
{
    return gauss_lane_coefficients<PairsX2>(pass, both_cells);
}

constexpr std::size_t column_lanes = static_cast<std::size_t>(gauss_column_group) / 2;

// How many rows ahead the vertical pass asks for the cells it will read or write.
constexpr std::size_t prefetch_rows = 16;

// The eight cells of one plane row from column on, as the load gives them: four groups of two.
KYROX_AVX2_TARGET inline Wide<column_lanes> loaded_row(const FloatPlane& source, std::int32_t row, std::int32_t column,
                                                       __m256 keep) noexcept
{
    Wide<column_lanes> x;
    if (row == 0 || row == source.height() - 1) {
        x.fill({_mm256_setzero_pd()});
        return x;
    }
    const __m256 v = _mm256_and_ps(_mm256_loadu_ps(source.row(row).data() + column), keep);
    const __m256d low = _mm256_cvtps_pd(_mm256_castps256_ps128(v));
    const __m256d high = _mm256_cvtps_pd(_mm256_extractf128_ps(v, 1));
    // Each value into both levels of its cell.
    x[0] = {_mm256_permute4x64_pd(low, 0x50)};
    x[1] = {_mm256_permute4x64_pd(low, 0xfa)};
    x[2] = {_mm256_permute4x64_pd(high, 0x50)};
    x[3] = {_mm256_permute4x64_pd(high, 0xfa)};
    return x;
}

// A result of the vertical pass, past the cache: the horizontal pass reads it long after, and the
// whole lines written need not be read first. Cells are 16-byte aligned.
KYROX_AVX2_TARGET inline void store_result(double* cell, PairsX2 v) noexcept
{
    _mm_stream_pd(cell, _mm256_castpd256_pd128(v.v));
    _mm_stream_pd(cell + 2, _mm256_extractf128_pd(v.v, 1));
}

// Eight columns from column on. kept holds the forward outputs, kept_stride cells apart per row.
KYROX_AVX2_TARGET void vertical_group(const FloatPlane& source, std::int32_t column, CellSpan rows,
                                      const Coefficients& c, GaussPair* cells, GaussPair* kept,
                                      std::size_t kept_stride) noexcept
{
    const std::int32_t width = source.width();
    const auto stride = static_cast<std::size_t>(width);
    const auto first = static_cast<std::int32_t>(rows.first);
    const auto end = static_cast<std::int32_t>(rows.first + rows.count);
    // The plane's outermost columns load as zero.
    alignas(32) std::array<std::int32_t, gauss_column_group> keep_bits{};
    for (std::int32_t l = 0; l < gauss_column_group; ++l) {
        const std::int32_t j = column + l;
        keep_bits[static_cast<std::size_t>(l)] = j == 0 || j == width - 1 ? 0 : -1;
    }
    const __m256 keep = _mm256_castsi256_ps(_mm256_load_si256(reinterpret_cast<const __m256i*>(keep_bits.data())));
    const auto double_at = [](GaussPair* row, std::size_t l) { return &row[2 * l].lane0; };

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
            const PairsX2 v = gauss_step(c, x[l], y[l]);
            _mm256_storeu_pd(double_at(forward, l), v.v);
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
            const PairsX2 v = gauss_step(c, {_mm256_loadu_pd(double_at(forward, l))}, z[l]);
            store_result(double_at(out + i * stride, l), v * c.b);
            gauss_push(z[l], v);
        }
    }
    _mm_sfence();
}

constexpr std::size_t row_lanes = static_cast<std::size_t>(gauss_row_group) / 2;

// 2 x Pairs rows in place over count cells from their starts: each register holds a cell of one
// row in its low half and the same cell of the next row in its high half.
using GroupRows = std::array<GaussPair*, gauss_row_group>;

KYROX_AVX2_TARGET inline PairsX2 load_pair(const GroupRows& rows, std::size_t i, std::size_t l) noexcept
{
    return {_mm256_loadu2_m128d(&rows[2 * l + 1][i].lane0, &rows[2 * l][i].lane0)};
}

KYROX_AVX2_TARGET inline void store_pair(const GroupRows& rows, std::size_t i, std::size_t l, PairsX2 v) noexcept
{
    _mm256_storeu2_m128d(&rows[2 * l + 1][i].lane0, &rows[2 * l][i].lane0, v.v);
}

template <std::size_t Pairs>
KYROX_AVX2_TARGET void horizontal_group(const GroupRows& rows, std::size_t count, const Coefficients& c) noexcept
{
    Wide<Pairs> last_input;
    WideHistory<Pairs> y;
    for (std::size_t l = 0; l < Pairs; ++l) {
        y[l] = gauss_forward_start(c, load_pair(rows, 0, l));
    }
    for (std::size_t i = 0; i < count; ++i) {
        for (std::size_t l = 0; l < Pairs; ++l) {
            const PairsX2 x = load_pair(rows, i, l);
            last_input[l] = x;
            const PairsX2 v = gauss_step(c, x, y[l]);
            store_pair(rows, i, l, v);
            gauss_push(y[l], v);
        }
    }

    WideHistory<Pairs> z;
    for (std::size_t l = 0; l < Pairs; ++l) {
        z[l] = gauss_backward_start(c, y[l], last_input[l]);
        store_pair(rows, count - 1, l, z[l].y1 * c.b);
    }
    for (std::size_t i = count - 1; i-- > 0;) {
        for (std::size_t l = 0; l < Pairs; ++l) {
            const PairsX2 v = gauss_step(c, load_pair(rows, i, l), z[l]);
            store_pair(rows, i, l, v * c.b);
            gauss_push(z[l], v);
        }
    }
}

}  // namespace

KYROX_AVX2_TARGET void gauss_vertical_block_avx2(const FloatPlane& source, ColumnBlock block, const GaussPass& pass,
                                                 std::span<GaussPair> buffer, std::span<GaussPair> strip) noexcept
{
    const auto whole = block.count - block.count % gauss_column_group;
    if (!gauss_vertical_block_fits(source, block, buffer)) {
        return;
    }
    const Coefficients c = wide_coefficients(pass);
    const bool use_strip = strip.size() / static_cast<std::size_t>(gauss_column_group) >= block.rows.count;
    const auto stride = static_cast<std::size_t>(source.width());
    for (std::int32_t col = block.column; col < block.column + whole; col += gauss_column_group) {
        GaussPair* const in_buffer = buffer.data() + block.rows.first * stride + static_cast<std::size_t>(col);
        if (use_strip) {
            vertical_group(source, col, block.rows, c, buffer.data(), strip.data(),
                           static_cast<std::size_t>(gauss_column_group));
        } else {
            vertical_group(source, col, block.rows, c, buffer.data(), in_buffer, stride);
        }
    }
    gauss_vertical_block(source, {block.column + whole, block.count - whole, block.rows}, pass, buffer, strip);
}

KYROX_AVX2_TARGET void gauss_horizontal_block_avx2(std::span<GaussPair> buffer, std::int32_t width, RowBlock block,
                                                   const GaussPass& pass) noexcept
{
    if (!gauss_horizontal_block_fits(buffer, width, block)) {
        return;
    }
    // Whole groups, then the pairs of rows left; an odd last row goes one at a time.
    const std::int32_t paired = block.count - block.count % 2;
    const Coefficients c = wide_coefficients(pass);
    std::int32_t r = block.row;
    if (block.columns.count > 0) {
        while (r < block.row + paired) {
            const std::int32_t count = std::min(gauss_row_group, block.row + paired - r);
            GroupRows rows{};
            for (std::int32_t l = 0; l < count; ++l) {
                rows[static_cast<std::size_t>(l)] = buffer.data() +
                                                    static_cast<std::size_t>(r + l) * static_cast<std::size_t>(width) +
                                                    block.columns.first;
            }
            switch (count / 2) {
            case 1:
                horizontal_group<1>(rows, block.columns.count, c);
                break;
            case 2:
                horizontal_group<2>(rows, block.columns.count, c);
                break;
            case 3:
                horizontal_group<3>(rows, block.columns.count, c);
                break;
            default:
                horizontal_group<row_lanes>(rows, block.columns.count, c);
                break;
            }
            r += count;
        }
    }
    const std::int32_t whole = r - block.row;
    gauss_horizontal_block(buffer, width, {block.row + whole, block.count - whole, block.columns}, pass);
}

}  // namespace kyrox
