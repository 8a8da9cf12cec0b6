#include "plugin/render/blur/gauss_blur.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <new>
#include <span>
#include <stdexcept>

#include "plugin/render/float_truncation.h"

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

bool holds_plane(const GaussBuffers& gauss, std::int32_t width, std::int32_t height) noexcept
{
    if (width < 0 || height < 0) {
        return false;
    }
    const std::uint64_t cells = static_cast<std::uint64_t>(width) * static_cast<std::uint64_t>(height);
    return gauss.buffers[0].size() >= cells && gauss.buffers[1].size() >= cells;
}

namespace {

// The one implementation of the recursion, run on Lanes neighbouring runs in lockstep (each with
// its own history, so each computes exactly what it would alone); cell(i, l) gives cell i of run l. Only the last three outputs of each direction are kept, so every cell is read once
// and written once per pass.
template <std::size_t Lanes, class CellAt>
void filter_runs(std::size_t count, CellAt cell, const GaussCoefficients& c, const GaussBoundary& boundary) noexcept
{
    if (count == 0) {
        return;
    }
    using Group = std::array<GaussPair, Lanes>;
    // Forward. Outputs before the run are the steady response to the first input; they also stand
    // in for the run's missing cells when it is shorter than the recursion's history.
    Group y1;
    for (std::size_t l = 0; l < Lanes; ++l) {
        y1[l] = c.k * cell(0, l);
    }
    Group y2 = y1;
    Group y3 = y1;
    Group last_input;
    for (std::size_t i = 0; i < count; ++i) {
        for (std::size_t l = 0; l < Lanes; ++l) {
            GaussPair& x = cell(i, l);
            last_input[l] = x;
            const GaussPair y = x + c.b1 * y1[l] + c.b2 * y2[l] + c.b3 * y3[l];
            x = y;
            y3[l] = y2[l];
            y2[l] = y1[l];
            y1[l] = y;
        }
    }

    // Backward start: the history beyond the run's end from the forward outputs at its end.
    const auto& m = boundary.m;
    Group z1;
    Group z2;
    Group z3;
    for (std::size_t l = 0; l < Lanes; ++l) {
        const GaussPair forward_steady = c.k * last_input[l];
        const GaussPair backward_steady = c.k * forward_steady;
        const GaussPair d0 = y1[l] - forward_steady;
        const GaussPair d1 = y2[l] - forward_steady;
        const GaussPair d2 = y3[l] - forward_steady;
        z1[l] = m[0] * d0 + m[1] * d1 + m[2] * d2 + backward_steady;
        z2[l] = m[3] * d0 + m[4] * d1 + m[5] * d2 + backward_steady;
        z3[l] = m[6] * d0 + m[7] * d1 + m[8] * d2 + backward_steady;
        cell(count - 1, l) = z1[l] * c.b;
    }

    for (std::size_t i = count - 1; i-- > 0;) {
        for (std::size_t l = 0; l < Lanes; ++l) {
            GaussPair& x = cell(i, l);
            const GaussPair z = x + c.b1 * z1[l] + c.b2 * z2[l] + c.b3 * z3[l];
            x = z * c.b;
            z3[l] = z2[l];
            z2[l] = z1[l];
            z1[l] = z;
        }
    }
}

// Whether a strided run lies inside a buffer of size cells.
bool run_inside(std::size_t size, const StridedRun& run) noexcept
{
    return run.count > 0 && run.first < size &&
           (run.count - 1) <= (size - 1 - run.first) / (run.stride == 0 ? 1 : run.stride);
}

// Columns the vertical pass filters side by side: 8 pairs fill two cache lines, so each row
// visit uses whole lines instead of one pair of a line per column.
constexpr std::size_t column_group = 8;

// Rows the horizontal pass filters side by side, so that one row's recursion runs while another's
// waits on its previous step.
constexpr std::size_t row_group = 4;

}  // namespace

void gauss_iir_rows(std::span<GaussPair> buffer, StridedRun run, const GaussCoefficients& coefficients,
                    const GaussBoundary& boundary) noexcept
{
    if (!run_inside(buffer.size(), run)) {
        return;
    }
    GaussPair* const first = buffer.data() + run.first;
    const std::size_t stride = run.stride;
    filter_runs<1>(
        run.count, [first, stride](std::size_t i, std::size_t) -> GaussPair& { return first[i * stride]; },
        coefficients, boundary);
}

void gauss_iir_columns(std::span<GaussPair> run, const GaussCoefficients& coefficients,
                       const GaussBoundary& boundary) noexcept
{
    GaussPair* const first = run.data();
    filter_runs<1>(
        run.size(), [first](std::size_t i, std::size_t) -> GaussPair& { return first[i]; }, coefficients, boundary);
}

namespace {

// The cells [first, first + count) of one direction that two levels can reach, inside extent.
struct CellSpan {
    std::size_t first = 0;
    std::size_t count = 0;
};

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

}  // namespace

GaussPasses gauss_passes(const std::array<double, glow_level_count>& sigmas)
{
    GaussPasses passes{};
    for (std::size_t p = 0; p < passes.size(); ++p) {
        compute_gauss_coefficients(passes[p].coefficients, sigmas[2 * p], sigmas[2 * p + 1]);
        compute_gauss_boundary(passes[p].boundary, passes[p].coefficients);
    }
    return passes;
}

bool load_gauss_rows_job(const ThreadWorkData& work, const FloatPlane& source, GaussBuffers& gauss)
{
    const std::int32_t width = source.width();
    const std::int32_t height = source.height();
    if (!holds_plane(gauss, width, height)) {
        return true;
    }
    for (std::int32_t i = std::max(work.begin, 0); i < std::min(work.end, height); ++i) {
        const std::span<const float> values = source.row(i);
        const bool border_row = i == 0 || i == height - 1;
        for (std::vector<GaussPair>& buffer : gauss.buffers) {
            const std::span<GaussPair> cells{buffer.data() + cell_index(i, 0, width), static_cast<std::size_t>(width)};
            for (std::size_t j = 0; j < cells.size(); ++j) {
                const double v = values[j];
                cells[j] = border_row ? GaussPair{} : GaussPair{v, v};
            }
            if (!cells.empty()) {
                cells.front() = GaussPair{};
                cells.back() = GaussPair{};
            }
        }
    }
    return true;
}

bool gauss_rows_job(const ThreadWorkData& work, const LevelRects& rects, const FloatPlane& source,
                    const GaussPasses& passes, GaussBuffers& gauss)
{
    const std::int32_t width = source.width();
    const std::int32_t height = source.height();
    if (!holds_plane(gauss, width, height)) {
        return true;
    }
    const auto stride = static_cast<std::size_t>(width);
    const std::int32_t end = std::min(work.end, width);
    for (std::size_t p = 0; p < passes.size(); ++p) {
        const CellSpan rows = vertical_span(rects[2 * p], rects[2 * p + 1], height);
        std::int32_t c = std::max(work.begin, 0);
        // Whole groups of columns side by side, then the chunk's last columns one by one.
        for (; c + static_cast<std::int32_t>(column_group) <= end; c += static_cast<std::int32_t>(column_group)) {
            const StridedRun run{rows.first * stride + static_cast<std::size_t>(c), stride, rows.count};
            if (run_inside(gauss.buffers[p].size(), run)) {
                GaussPair* const first = gauss.buffers[p].data() + run.first;
                filter_runs<column_group>(
                    run.count,
                    [first, stride](std::size_t i, std::size_t l) -> GaussPair& { return first[i * stride + l]; },
                    passes[p].coefficients, passes[p].boundary);
            }
        }
        for (; c < end; ++c) {
            const StridedRun run{rows.first * stride + static_cast<std::size_t>(c), stride, rows.count};
            gauss_iir_rows(gauss.buffers[p], run, passes[p].coefficients, passes[p].boundary);
        }
    }
    return true;
}

bool gauss_columns_job(const ThreadWorkData& work, PlaneOffset offset, const FrameTarget& target,
                       const FloatPlane& source, const LevelRects& rects, const GaussPasses& passes,
                       GaussBuffers& gauss)
{
    const std::int32_t width = source.width();
    const std::int32_t height = source.height();
    if (!holds_plane(gauss, width, height)) {
        return true;
    }
    // Rows from the first at or below the output's bottom on are left alone.
    const std::int64_t shift_y = truncate_to_int32(offset.y);
    const auto below_output = std::clamp<std::int64_t>(target.output_view.height - shift_y, 0, height);
    const std::int32_t end = std::min(work.end, static_cast<std::int32_t>(below_output));
    for (std::size_t p = 0; p < passes.size(); ++p) {
        const CellSpan columns = horizontal_span(rects[2 * p], rects[2 * p + 1], width);
        GaussPair* const cells = gauss.buffers[p].data();
        std::int32_t r = std::max(work.begin, 0);
        // Whole groups of rows side by side, then the chunk's last rows one by one.
        for (; r + static_cast<std::int32_t>(row_group) <= end; r += static_cast<std::int32_t>(row_group)) {
            std::array<GaussPair*, row_group> rows{};
            for (std::size_t l = 0; l < row_group; ++l) {
                rows[l] = cells + cell_index(r + static_cast<std::int32_t>(l), 0, width) + columns.first;
            }
            filter_runs<row_group>(
                columns.count, [&rows](std::size_t i, std::size_t l) -> GaussPair& { return rows[l][i]; },
                passes[p].coefficients, passes[p].boundary);
        }
        for (; r < end; ++r) {
            const std::span<GaussPair> run{cells + cell_index(r, 0, width) + columns.first, columns.count};
            gauss_iir_columns(run, passes[p].coefficients, passes[p].boundary);
        }
    }
    return true;
}

}  // namespace kyrox
