#include "plugin/render/blur/gauss_blur.h"
#include "plugin/render/blur/gauss_blur_kernels.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <new>
#include <span>
#include <stdexcept>
#include <type_traits>
#include <vector>

#include "plugin/platform/simd/simd_path.h"
#include "plugin/render/blur/gauss_blur_lanes.h"

namespace kyrox {

namespace {

// The coefficients of one lane, in the order of the set.
struct LaneCoefficients {
    double k;
    double b1;
    double b2;
    double b3;
    double b;
};

LaneCoefficients lane_coefficients(double sigma) noexcept
{
    const double q = gauss_q(sigma);
    // Young and van Vliet's m0 = 1.1668, m1 = 1.10783, m2 = 1.40586 folded in; 3.2037296485 is
    // m1^2 + m2^2.
    const double scale = (q * q + 2.0 * 1.10783 * q + 3.2037296485) * (1.1668 + q);
    const double b1 = q * (5.7889617365 + 6.76492 * q + 3.0 * q * q) / scale;
    const double b2 = -q * q * (1.1668 + 2.21566 + 3.0 * q) / scale;
    const double b3 = q * q * q / scale;
    const double root_b = 3.7381117538698003 / scale;
    return {1.0 / (1.0 - b1 - b2 - b3), b1, b2, b3, root_b * root_b};
}

// Triggs and Sdika's matrix for one lane, row-major.
std::array<double, 9> lane_boundary(double a1, double a2, double a3) noexcept
{
    const double d = (1.0 - a1 - a2 - a3) * (1.0 + a2 + (a1 - a3) * a3) * (1.0 + a1 - a2 + a3);
    const std::array<double, 9> m{
        1.0 - a3 * a1 - a3 * a3 - a2,
        (a3 + a1) * (a2 + a3 * a1),
        a3 * (a1 + a3 * a2),
        a1 + a3 * a2,
        -(a2 - 1.0) * (a2 + a3 * a1),
        -(a3 * a1 + a3 * a3 + a2 - 1.0) * a3,
        a3 * a1 + a2 + a1 * a1 - a2 * a2,
        a1 * a2 + a3 * a2 * a2 - a1 * a3 * a3 - a3 * a3 * a3 - a3 * a2 + a3,
        a3 * (a1 + a3 * a2),
    };
    std::array<double, 9> scaled{};
    for (std::size_t i = 0; i < m.size(); ++i) {
        scaled[i] = m[i] / d;
    }
    return scaled;
}

}  // namespace

double gauss_q(double sigma) noexcept
{
    if (sigma < 3.556) {
        return 0.0561 * sigma * sigma + 0.5784 * sigma - 0.2568;
    }
    return 2.5091 + 0.9804 * (sigma - 3.556);
}

GaussCoefficients& compute_gauss_coefficients(GaussCoefficients& out, double sigma_a, double sigma_b)
{
    if (!(sigma_a >= 0.5) || !(sigma_b >= 0.5)) {
        throw std::invalid_argument("Fast Gaussian cannot handle sigma < 0.5.");
    }
    const LaneCoefficients a = lane_coefficients(sigma_a);
    const LaneCoefficients b = lane_coefficients(sigma_b);
    out = {{a.k, b.k}, {a.b1, b.b1}, {a.b2, b.b2}, {a.b3, b.b3}, {a.b, b.b}};
    return out;
}

GaussBoundary& compute_gauss_boundary(GaussBoundary& out, const GaussCoefficients& coefficients)
{
    const GaussCoefficients& c = coefficients;
    const std::array<double, 9> lane0 = lane_boundary(c.b1.lane0, c.b2.lane0, c.b3.lane0);
    const std::array<double, 9> lane1 = lane_boundary(c.b1.lane1, c.b2.lane1, c.b3.lane1);
    for (std::size_t i = 0; i < out.m.size(); ++i) {
        out.m[i] = {lane0[i], lane1[i]};
    }
    return out;
}

void size_gauss_buffers(GaussBuffers& gauss, std::uint64_t cell_count)
{
    if (cell_count == gauss.cell_count) {
        return;
    }
    // Release the old cells before taking the new ones, so that a resize never holds both.
    gauss.cell_count = 0;
    for (std::vector<GaussPair>& buffer : gauss.buffers) {
        std::vector<GaussPair>().swap(buffer);
    }
    if (cell_count > std::numeric_limits<std::size_t>::max() / sizeof(GaussPair)) {
        throw std::bad_alloc();
    }
    try {
        for (std::vector<GaussPair>& buffer : gauss.buffers) {
            buffer.resize(static_cast<std::size_t>(cell_count));
        }
    } catch (...) {
        for (std::vector<GaussPair>& buffer : gauss.buffers) {
            std::vector<GaussPair>().swap(buffer);
        }
        throw;
    }
    gauss.cell_count = cell_count;
}

namespace {

// The cells of one strip: the path's widest column group down a plane of `height` rows.
std::size_t strip_cells(std::int32_t height) noexcept
{
    return static_cast<std::size_t>(gauss_side_by_side_columns(simd::widest_path())) *
           static_cast<std::size_t>(std::max(height, 0));
}

}  // namespace

void size_gauss_strips(GaussBuffers& gauss, std::int32_t height, std::int32_t chunks) noexcept
{
    const std::size_t cells = strip_cells(height);
    const auto count = static_cast<std::size_t>(std::clamp(chunks, 0, static_cast<std::int32_t>(gauss.strips.size())));
    for (std::size_t i = 0; i < gauss.strips.size(); ++i) {
        std::vector<GaussPair>& strip = gauss.strips[i];
        if (i >= count || strip.size() != cells) {
            std::vector<GaussPair>().swap(strip);
        }
        if (i < count && strip.empty()) {
            // Without a strip the forward outputs stay in the buffer: slower, the same results.
            try {
                strip.resize(cells);
            } catch (const std::bad_alloc&) {
                std::vector<GaussPair>().swap(strip);
            }
        }
    }
}

namespace {

bool holds_plane_cells(std::size_t size, std::int32_t width, std::int32_t height) noexcept
{
    return width >= 0 && height >= 0 && size >= static_cast<std::uint64_t>(width) * static_cast<std::uint64_t>(height);
}

}  // namespace

bool holds_plane(const GaussBuffers& gauss, std::int32_t width, std::int32_t height) noexcept
{
    return holds_plane_cells(gauss.buffers[0].size(), width, height) &&
           holds_plane_cells(gauss.buffers[1].size(), width, height);
}

namespace {

// The one implementation of the recursion, run on Lanes neighbouring runs in lockstep (each with
// its own history, so each computes exactly what it would alone). in(i, l) gives the input of cell
// i of run l, forward(i, l) where its forward output is kept and out(i, l) where its result goes;
// they may be the same cell. Only the last three outputs of each direction are kept, so every cell
// is read once and written once per pass.
template <std::size_t Lanes, class In, class Forward, class Out>
void filter_runs(std::size_t count, In in, Forward forward, Out out, const GaussPass& pass) noexcept
{
    // A copy, which the stores into the cells cannot alias, so it stays in registers.
    const GaussLaneCoefficients<GaussPair> c = gauss_lane_coefficients<GaussPair>(pass, [](GaussPair v) { return v; });
    if (count == 0) {
        return;
    }
    std::array<GaussHistory<GaussPair>, Lanes> y;
    for (std::size_t l = 0; l < Lanes; ++l) {
        y[l] = gauss_forward_start(c, in(0, l));
    }
    std::array<GaussPair, Lanes> last_input;
    for (std::size_t i = 0; i < count; ++i) {
        for (std::size_t l = 0; l < Lanes; ++l) {
            const GaussPair x = in(i, l);
            last_input[l] = x;
            const GaussPair v = gauss_step(c, x, y[l]);
            forward(i, l) = v;
            gauss_push(y[l], v);
        }
    }

    std::array<GaussHistory<GaussPair>, Lanes> z;
    for (std::size_t l = 0; l < Lanes; ++l) {
        z[l] = gauss_backward_start(c, y[l], last_input[l]);
        out(count - 1, l) = z[l].y1 * c.b;
    }
    for (std::size_t i = count - 1; i-- > 0;) {
        for (std::size_t l = 0; l < Lanes; ++l) {
            const GaussPair v = gauss_step(c, forward(i, l), z[l]);
            out(i, l) = v * c.b;
            gauss_push(z[l], v);
        }
    }
}

// filter_runs in place on Lanes runs, cell(i, l) being cell i of run l.
template <std::size_t Lanes, class CellAt>
void filter_runs_in_place(std::size_t count, CellAt cell, const GaussPass& pass) noexcept
{
    filter_runs<Lanes>(
        count, [&cell](std::size_t i, std::size_t l) { return cell(i, l); }, cell, cell, pass);
}

// Calls f(std::integral_constant<std::size_t, n>{}) for 1 <= n <= Max, so that a block's last runs
// (fewer than a whole group) still go side by side.
template <std::size_t Max, class F>
void with_lanes(std::size_t n, F&& f)
{
    if constexpr (Max > 0) {
        if (n == Max) {
            f(std::integral_constant<std::size_t, Max>{});
        } else {
            with_lanes<Max - 1>(n, f);
        }
    }
}

// Whether a strided run lies inside a buffer of size cells.
bool run_inside(std::size_t size, const StridedRun& run) noexcept
{
    return run.count > 0 && run.first < size &&
           (run.count - 1) <= (size - 1 - run.first) / (run.stride == 0 ? 1 : run.stride);
}

}  // namespace

void gauss_iir_rows(std::span<GaussPair> buffer, StridedRun run, const GaussCoefficients& coefficients,
                    const GaussBoundary& boundary) noexcept
{
    if (!run_inside(buffer.size(), run)) {
        return;
    }
    GaussPair* const first = buffer.data() + run.first;
    const std::size_t stride = run.stride;
    filter_runs_in_place<1>(run.count,
                            [first, stride](std::size_t i, std::size_t) -> GaussPair& { return first[i * stride]; },
                            {coefficients, boundary});
}

void gauss_iir_columns(std::span<GaussPair> run, const GaussCoefficients& coefficients,
                       const GaussBoundary& boundary) noexcept
{
    GaussPair* const first = run.data();
    filter_runs_in_place<1>(run.size(), [first](std::size_t i, std::size_t) -> GaussPair& { return first[i]; },
                            {coefficients, boundary});
}

namespace {

CellSpan level_span(std::int32_t lead_a, std::int32_t trail_a, std::int32_t lead_b, std::int32_t trail_b,
                    std::int32_t extent) noexcept
{
    const std::int64_t start = std::min(lead_a, lead_b);
    const std::int64_t insets = std::min(std::int64_t{lead_a} + trail_a, std::int64_t{lead_b} + trail_b);
    const std::int64_t first = std::clamp<std::int64_t>(start, 0, extent);
    const std::int64_t end = std::clamp<std::int64_t>(start + (extent - insets), first, extent);
    return {static_cast<std::size_t>(first), static_cast<std::size_t>(end - first)};
}

CellSpan vertical_span(const LevelRect& a, const LevelRect& b, std::int32_t height) noexcept
{
    return level_span(a.top, a.bottom, b.top, b.bottom, height);
}

CellSpan horizontal_span(const LevelRect& a, const LevelRect& b, std::int32_t width) noexcept
{
    return level_span(a.left, a.right, b.left, b.right, width);
}

std::size_t cell_index(std::int32_t row, std::int32_t column, std::int32_t width) noexcept
{
    return static_cast<std::size_t>(row) * static_cast<std::size_t>(width) + static_cast<std::size_t>(column);
}

// Whether [first, first + count) lies inside [0, extent).
bool span_inside(std::int64_t first, std::int64_t count, std::int64_t extent) noexcept
{
    return first >= 0 && count >= 0 && first <= extent && count <= extent - first;
}

// Lanes columns from column on: every row loaded, rows filtered. The filtered rows are loaded
// into the strip (or the buffer), so the recursion reads plain cells.
template <std::size_t Lanes>
void vertical_lanes(const FloatPlane& source, std::int32_t column, CellSpan rows, const GaussPass& pass,
                    GaussPair* cells, GaussPair* strip) noexcept
{
    const std::int32_t width = source.width();
    const std::int32_t height = source.height();
    const auto first = static_cast<std::int32_t>(rows.first);
    const auto end = static_cast<std::int32_t>(rows.first + rows.count);
    const auto at = [&](std::int32_t i) { return cells + cell_index(i, column, width); };
    for (std::int32_t i = 0; i < height; ++i) {
        const bool filtered = i >= first && i < end;
        load_gauss_cells(source, i, column,
                         {filtered && strip != nullptr ? strip + (i - first) * Lanes : at(i), Lanes});
    }
    const auto out = [&](std::size_t i, std::size_t l) -> GaussPair& {
        return at(first + static_cast<std::int32_t>(i))[l];
    };
    if (strip != nullptr) {
        const auto kept = [strip](std::size_t i, std::size_t l) -> GaussPair& { return strip[i * Lanes + l]; };
        filter_runs<Lanes>(
            rows.count, [&kept](std::size_t i, std::size_t l) { return kept(i, l); }, kept, out, pass);
    } else {
        filter_runs_in_place<Lanes>(rows.count, out, pass);
    }
}

}  // namespace

void load_gauss_cells(const FloatPlane& source, std::int32_t row, std::int32_t column,
                      std::span<GaussPair> cells) noexcept
{
    if (row == 0 || row == source.height() - 1) {
        std::ranges::fill(cells, GaussPair{});
        return;
    }
    const float* const values = source.row(row).data() + column;
    for (std::size_t l = 0; l < cells.size(); ++l) {
        const double v = values[l];
        cells[l] = GaussPair{v, v};
    }
    if (cells.empty()) {
        return;
    }
    if (column == 0) {
        cells.front() = GaussPair{};
    }
    if (column + static_cast<std::int32_t>(cells.size()) == source.width()) {
        cells.back() = GaussPair{};
    }
}

GaussPasses gauss_passes(const std::array<double, glow_level_count>& sigmas)
{
    GaussPasses passes{};
    for (std::size_t p = 0; p < passes.size(); ++p) {
        compute_gauss_coefficients(passes[p].coefficients, sigmas[2 * p], sigmas[2 * p + 1]);
        compute_gauss_boundary(passes[p].boundary, passes[p].coefficients);
    }
    return passes;
}

bool gauss_vertical_block_fits(const FloatPlane& source, ColumnBlock block, std::span<const GaussPair> buffer) noexcept
{
    const std::int32_t width = source.width();
    const std::int32_t height = source.height();
    return span_inside(block.column, block.count, width) &&
           span_inside(static_cast<std::int64_t>(block.rows.first), static_cast<std::int64_t>(block.rows.count),
                       height) &&
           holds_plane_cells(buffer.size(), width, height);
}

bool gauss_horizontal_block_fits(std::span<const GaussPair> buffer, std::int32_t width, RowBlock block) noexcept
{
    return width >= 0 && block.row >= 0 && block.count >= 0 &&
           span_inside(static_cast<std::int64_t>(block.columns.first), static_cast<std::int64_t>(block.columns.count),
                       width) &&
           static_cast<std::uint64_t>(block.row) + static_cast<std::uint64_t>(block.count) <=
               buffer.size() / std::max<std::size_t>(static_cast<std::size_t>(width), 1);
}

void gauss_vertical_block(const FloatPlane& source, ColumnBlock block, const GaussPass& pass,
                          std::span<GaussPair> buffer, std::span<GaussPair> strip) noexcept
{
    if (block.count == 0 || !gauss_vertical_block_fits(source, block, buffer)) {
        return;
    }
    GaussPair* const kept =
        strip.size() / static_cast<std::size_t>(gauss_column_group) >= block.rows.count ? strip.data() : nullptr;
    for (std::int32_t c = block.column; c < block.column + block.count; c += gauss_column_group) {
        const auto lanes = static_cast<std::size_t>(std::min(gauss_column_group, block.column + block.count - c));
        with_lanes<static_cast<std::size_t>(gauss_column_group)>(lanes, [&](auto n) {
            vertical_lanes<decltype(n)::value>(source, c, block.rows, pass, buffer.data(), kept);
        });
    }
}

void gauss_horizontal_block(std::span<GaussPair> buffer, std::int32_t width, RowBlock block,
                            const GaussPass& pass) noexcept
{
    if (block.count == 0 || !gauss_horizontal_block_fits(buffer, width, block)) {
        return;
    }
    GaussPair* const cells = buffer.data();
    for (std::int32_t r = block.row; r < block.row + block.count; r += gauss_row_group) {
        const auto lanes = static_cast<std::size_t>(std::min(gauss_row_group, block.row + block.count - r));
        with_lanes<static_cast<std::size_t>(gauss_row_group)>(lanes, [&](auto n) {
            constexpr std::size_t count = decltype(n)::value;
            std::array<GaussPair*, count> rows{};
            for (std::size_t l = 0; l < count; ++l) {
                rows[l] = cells + cell_index(r + static_cast<std::int32_t>(l), 0, width) + block.columns.first;
            }
            filter_runs_in_place<count>(
                block.columns.count, [&rows](std::size_t i, std::size_t l) -> GaussPair& { return rows[l][i]; }, pass);
        });
    }
}

bool gauss_rows_job(const ThreadWorkData& work, const LevelRects& rects, const FloatPlane& source,
                    const GaussPasses& passes, GaussBuffers& gauss)
{
    const std::int32_t width = source.width();
    const std::int32_t height = source.height();
    if (!holds_plane(gauss, width, height)) {
        return true;
    }
    const std::int32_t first = std::max(work.begin, 0);
    const std::int32_t end = std::min(work.end, width);
    if (first >= end) {
        return true;
    }
    const simd::SimdPath path = simd::widest_path();
    std::span<GaussPair> strip;
    if (work.index >= 0 && static_cast<std::size_t>(work.index) < gauss.strips.size() &&
        gauss.strips[static_cast<std::size_t>(work.index)].size() >= strip_cells(height)) {
        strip = gauss.strips[static_cast<std::size_t>(work.index)];
    }
    for (std::size_t p = 0; p < passes.size(); ++p) {
        const ColumnBlock block{first, end - first, vertical_span(rects[2 * p], rects[2 * p + 1], height)};
        if (path >= simd::SimdPath::avx512) {
            gauss_vertical_block_avx512(source, block, passes[p], gauss.buffers[p], strip);
        } else if (path >= simd::SimdPath::avx2) {
            gauss_vertical_block_avx2(source, block, passes[p], gauss.buffers[p], strip);
        } else {
            gauss_vertical_block(source, block, passes[p], gauss.buffers[p], strip);
        }
    }
    return true;
}

bool gauss_columns_job(const ThreadWorkData& work, const FrameTarget& target, const FloatPlane& source,
                       const LevelRects& rects, const GaussPasses& passes, GaussBuffers& gauss)
{
    const std::int32_t width = source.width();
    const std::int32_t height = source.height();
    if (!holds_plane(gauss, width, height)) {
        return true;
    }
    // Rows from the first at or below the output's bottom on are left alone.
    const std::int32_t below_output = std::clamp(target.output_view.height, 0, height);
    const std::int32_t first = std::max(work.begin, 0);
    const std::int32_t end = std::min(work.end, below_output);
    if (first >= end) {
        return true;
    }
    const simd::SimdPath path = simd::widest_path();
    for (std::size_t p = 0; p < passes.size(); ++p) {
        const RowBlock block{first, end - first, horizontal_span(rects[2 * p], rects[2 * p + 1], width)};
        if (path >= simd::SimdPath::avx512) {
            gauss_horizontal_block_avx512(gauss.buffers[p], width, block, passes[p]);
        } else if (path >= simd::SimdPath::avx2) {
            gauss_horizontal_block_avx2(gauss.buffers[p], width, block, passes[p]);
        } else {
            gauss_horizontal_block(gauss.buffers[p], width, block, passes[p]);
        }
    }
    return true;
}

}  // namespace kyrox
