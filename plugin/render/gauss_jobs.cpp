#include "plugin/render/gauss_jobs.h"

#include <algorithm>
#include <cstdint>
#include <span>

#include "plugin/render/float_truncation.h"
#include "plugin/render/gauss_iir.h"

namespace kyrox {

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
    for (std::int32_t c = std::max(work.begin, 0); c < std::min(work.end, width); ++c) {
        for (std::size_t p = 0; p < passes.size(); ++p) {
            const CellSpan rows = vertical_span(rects[2 * p], rects[2 * p + 1], height);
            const StridedRun run{rows.first * static_cast<std::size_t>(width) + static_cast<std::size_t>(c),
                                 static_cast<std::size_t>(width), rows.count};
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
    const std::int64_t shift_y = truncate_to_int32(offset.y);
    for (std::int32_t r = std::max(work.begin, 0); r < std::min(work.end, height); ++r) {
        if (r + shift_y >= target.output_view.height) {
            return true;
        }
        for (std::size_t p = 0; p < passes.size(); ++p) {
            const CellSpan columns = horizontal_span(rects[2 * p], rects[2 * p + 1], width);
            const std::span<GaussPair> run{gauss.buffers[p].data() + cell_index(r, 0, width) + columns.first,
                                           columns.count};
            gauss_iir_columns(run, passes[p].coefficients, passes[p].boundary);
        }
    }
    return true;
}

}  // namespace kyrox
