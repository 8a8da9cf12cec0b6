#include "plugin/render/coverage/polygon_coverage.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "plugin/render/coverage/coverage_row.h"
#include "plugin/render/geometry/outline_geometry.h"
#include "plugin/render/coverage/scanline_crossings.h"

namespace kyrox {

namespace {

constexpr std::int32_t max_sub_samples = 256;

// Sub-row at which the polygon's range starts or ends: whole pixel rows, one beyond the outline on
// each side, within [0, limit]. The coordinate is clamped first so the conversion is defined.
std::int32_t aligned_sub_row(float y, std::int32_t s, std::int32_t limit, std::int32_t side)
{
    const std::int32_t margin = 4 * s;
    const std::int32_t t = clamped_trunc(y, -margin, limit + margin);
    const std::int32_t row = s * ((t + side) / s + side);
    return std::clamp(row, 0, limit);
}

// Adds the spans of the pixel row's sub-scanlines, each run of equal sub-scanlines once with its
// weight multiplied.
void add_row_spans(const CoverageRow& row, const SpanScale& scale, std::span<const std::vector<Crossing>> lists)
{
    const auto count = lists.size();
    for (std::size_t j = 0; j < count;) {
        std::size_t m = 1;
        while (j + m < count && same_span_ends(lists[j], lists[j + m])) {
            ++m;
        }
        const std::vector<Crossing>& ends = lists[j];
        for (std::size_t k = 0; k + 1 < ends.size(); k += 2) {
            if (add_span(row, scale, ends[k].rounded_x, ends[k + 1].rounded_x, static_cast<std::int32_t>(m)) ==
                SpanResult::stop) {
                break;
            }
        }
        j += m;
    }
}

struct RowCrossings {
    bool crossed = false;  // some sub-row has crossings
    bool tied = false;     // some sub-row's crossings depend on the order of edges of equal ymin
};

}  // namespace

bool polygon_rows_job(const ThreadWorkData& work, const CoverageJob& job)
{
    const CoverageParams& params = *job.params;
    const std::int32_t s = params.sub_samples;
    const SpanScale scale{s, s * job.width, params.sample_weight, params.row_weight};
    std::vector<std::vector<Crossing>> lists(static_cast<std::size_t>(s));
    std::size_t cursor = 0;
    std::size_t whole_cursor = 0;
    const auto collect_row = [&](std::int32_t r, std::span<const EdgeRecord> edges, std::size_t& at) {
        RowCrossings found;
        for (std::int32_t k = 0; k < s; ++k) {
            std::vector<Crossing>& list = lists[static_cast<std::size_t>(k)];
            found.tied = collect_span_crossings(list, edges, at, r * s + k, job.kind, scale.row_end) || found.tied;
            found.crossed = found.crossed || !list.empty();
        }
        return found;
    };
    const std::int32_t row_begin = (job.first_sub_row + work.begin) / s;
    const std::int32_t row_end = (job.first_sub_row + work.end) / s;
    for (std::int32_t r = row_begin; r < row_end; ++r) {
        const RowCrossings found = collect_row(r, job.edges, cursor);
        if (!found.crossed) {
            continue;
        }
        if (found.tied && job.whole_order != nullptr) {
            collect_row(r, job.whole_order->edges(), whole_cursor);
        }
        const CoverageRow row{job.glow_source->row(r), job.core->row(r), job.intensity};
        add_row_spans(row, scale, lists);
    }
    return true;
}

void fill_polygon_coverage(const CoverageParams& params, FloatPlane& glow_source, FloatPlane& core, PolygonKind kind)
{
    const std::int32_t s = params.sub_samples;
    if (params.points.size() < 3 || s < 1 || s > max_sub_samples || !is_finite_outline(params.points)) {
        return;
    }
    // Sub-sample positions are 32-bit: frames beyond 2^31 / S cells a side are covered up to there.
    const std::int32_t max_cells = std::numeric_limits<std::int32_t>::max() / s - 8;
    const std::int32_t width = std::min({glow_source.width(), core.width(), max_cells});
    const std::int32_t height = std::min({glow_source.height(), core.height(), max_cells});
    if (width < 1 || height < 1) {
        return;
    }
    std::vector<OutlinePoint> points(params.points.begin(), params.points.end());
    std::transform(points.begin(), points.end(), points.begin(), clamp_to_limit);
    const auto [lowest, highest] =
        std::minmax_element(points.begin(), points.end(), [](OutlinePoint a, OutlinePoint b) { return a.y < b.y; });
    const std::int32_t limit = s * height;
    const std::int32_t first = aligned_sub_row(lowest->y * static_cast<float>(s), s, limit, -1);
    const std::int32_t last = aligned_sub_row(highest->y * static_cast<float>(s), s, limit, 1);
    if (last - first < 1) {
        return;
    }
    // Only edges that cross a sub-row of the planes take part: an outline reaching far beyond the
    // frame costs no more per row than its part within the frame's rows.
    const SubRowRange rows{first, last};
    const RowRangeEdges kept = make_row_range_edges(points, static_cast<float>(s), rows);
    WholeOrderEdges whole_order(points, static_cast<float>(s), rows);
    // A weight without a value would wipe the glow source cells it touches; it counts as none.
    const float intensity = std::isfinite(params.intensity) ? params.intensity : 0.0f;
    const CoverageJob job{first,     &params,      kept.edges,
                          kind,      &glow_source, &core,
                          intensity, width,        kept.ymin_repeats ? &whole_order : nullptr};
    parallel_for(
        worker_pool(), [&job](const ThreadWorkData& work) { return polygon_rows_job(work, job); }, last - first);
}

}  // namespace kyrox
