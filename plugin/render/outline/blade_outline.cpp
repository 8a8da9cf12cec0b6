#include "plugin/render/outline/blade_outline.h"

#include <algorithm>
#include <iterator>

#include "plugin/render/geometry/outline_geometry.h"
#include "plugin/render/coverage/row_spans.h"

namespace kyrox {

namespace {

OutlinePoint lerp_point(OutlinePoint a, OutlinePoint b, float t)
{
    return {(1.0f - t) * a.x + t * b.x, (1.0f - t) * a.y + t * b.y};
}

void append_quad(std::vector<OutlinePoint>& out, OutlinePoint a, OutlinePoint b, OutlinePoint c, OutlinePoint d)
{
    out.insert(out.end(), {a, b, c, d});
}

// Quads between corresponding cap points of consecutive samples, then every outline backwards,
// joined into one closed list whose edges cover the area swept between the samples.
std::vector<OutlinePoint> swept_point_list(std::span<const OutlinePoint> outlines, std::size_t sample_count,
                                           const BladeShape& shape)
{
    const auto ns = static_cast<std::size_t>(shape.start_points);
    const auto ne = static_cast<std::size_t>(shape.end_points);
    const std::size_t stride = ns + ne + 4;
    const std::size_t end_cap = ns + 2;
    std::vector<OutlinePoint> list;
    list.reserve((sample_count - 1) * (ns + ne) * 4 + outlines.size());
    const auto point = [&](std::size_t sample, std::size_t i) { return outlines[sample * stride + i]; };
    for (std::size_t k = 0; k + 1 < sample_count; ++k) {
        for (std::size_t i = 1; i < ns; ++i) {
            append_quad(list, point(k, i - 1), point(k + 1, i - 1), point(k + 1, i), point(k, i));
        }
    }
    for (std::size_t k = 0; k + 1 < sample_count; ++k) {
        for (std::size_t i = 0; i + 1 < ne; ++i) {
            append_quad(list, point(k, end_cap + i), point(k + 1, end_cap + i), point(k + 1, end_cap + i + 1),
                        point(k, end_cap + i + 1));
        }
    }
    list.insert(list.end(), outlines.rbegin(), outlines.rend());
    return list;
}

// The capsule outline of one sample, start_points + end_points + 4 points: start cap from the right
// side round the back to the left, the left side's two ends, end cap from the left side round the
// front to the right, the right side's two ends.
std::vector<OutlinePoint> blade_sample_outline(const CoreSegment& sample, const BladeShape& shape)
{
    const OutlinePoint s{sample.start_x, sample.start_y};
    const OutlinePoint e{sample.end_x, sample.end_y};
    const OutlinePoint vs = lerp_point(s, e, shape.start_offset);
    const OutlinePoint ve = lerp_point(s, e, shape.end_offset);
    const OutlinePoint d = unit_direction(vs, ve);
    const OutlinePoint n{-d.y, d.x};
    const float hs = shape.start.half_width;
    const float he = shape.end.half_width;
    std::vector<OutlinePoint> outline;
    outline.reserve(static_cast<std::size_t>(shape.start_points + shape.end_points + 4));
    append_elliptic_cap(outline, CapEnd::start, vs, d, hs, shape.start.length, shape.start_points);
    outline.push_back({vs.x + hs * n.x, vs.y + hs * n.y});
    outline.push_back({ve.x + he * n.x, ve.y + he * n.y});
    append_elliptic_cap(outline, CapEnd::end, ve, d, he, shape.end.length, shape.end_points);
    outline.push_back({ve.x - he * n.x, ve.y - he * n.y});
    outline.push_back({vs.x - hs * n.x, vs.y - hs * n.y});
    return outline;
}

}  // namespace

std::vector<OutlinePoint> build_blade_outline(WorkerPool& pool, std::span<const CoreSegment> samples,
                                              const BladeShape& shape, RowWindow rows)
{
    std::vector<OutlinePoint> outlines;
    outlines.reserve(static_cast<std::size_t>(shape.start_points + shape.end_points + 4) * samples.size());
    std::size_t kept = 0;
    for (const CoreSegment& sample : samples) {
        const std::vector<OutlinePoint> outline = blade_sample_outline(sample, shape);
        if (!is_finite_outline(outline)) {
            continue;
        }
        std::transform(outline.begin(), outline.end(), std::back_inserter(outlines), clamp_to_limit);
        ++kept;
    }
    if (kept < 2) {
        return outlines;
    }
    const std::vector<OutlinePoint> swept = swept_point_list(outlines, kept, shape);
    return row_monotone_outline(pool, swept, rows);
}

}  // namespace kyrox
