// Polygons of any finite size on small planes (at most 96 x 96), drawn as they are or built as the
// stroke outline of a path piece, through anti-aliased coverage. Promises: every cell stays finite,
// the core plane within [0, 2] and the glow source at or above 0; the planes are bit for bit what
// the row jobs give walking every edge of the whole sorted list over every sub-row; nothing is
// undefined. libFuzzer's -timeout catches an input whose cost grows with the outline's extent.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "plugin/render/coverage/polygon_coverage.h"
#include "plugin/render/coverage/scanline_crossings.h"
#include "plugin/render/float_plane.h"
#include "plugin/render/geometry/outline_geometry.h"
#include "plugin/render/outline/elliptic_cap.h"
#include "plugin/render/outline/stroke_outline.h"
#include "tests/fuzz/geometry/fuzz_values.h"

namespace {

using kyrox::OutlinePoint;
using kyrox::fuzz::coordinate;

[[noreturn]] void broken(const char* promise, std::int32_t x, std::int32_t y)
{
    std::fprintf(stderr, "fuzz_coverage: %s at %d, %d\n", promise, x, y);
    std::abort();
}

struct Planes {
    Planes(std::int32_t width, std::int32_t height)
        : glow(kyrox::WorldView{.width = width, .height = height}),
          core(kyrox::WorldView{.width = width, .height = height})
    {
    }

    kyrox::FloatPlane glow;
    kyrox::FloatPlane core;
};

std::vector<OutlinePoint> raw_polygon(FuzzedDataProvider& data)
{
    std::vector<OutlinePoint> points;
    const auto count = data.ConsumeIntegralInRange<std::size_t>(0, 48);
    for (std::size_t i = 0; i < count && data.remaining_bytes() > 0; ++i) {
        points.push_back({coordinate(data), coordinate(data)});
    }
    return points;
}

// The outline a path piece gets, clamped as the outline builder clamps it.
std::vector<OutlinePoint> stroke_polygon(FuzzedDataProvider& data)
{
    std::vector<kyrox::PathPoint> piece;
    const auto count = data.ConsumeIntegralInRange<std::size_t>(0, 24);
    for (std::size_t i = 0; i < count && data.remaining_bytes() > 0; ++i) {
        piece.push_back({coordinate(data), coordinate(data), coordinate(data), coordinate(data)});
    }
    // Caps of up to 40 points keep each input cheap; their count is the cap builder's business.
    const auto cap = [&data] { return data.ConsumeFloatingPointInRange<float>(0.0f, 40.0f); };
    const std::int32_t ns = kyrox::cap_point_count({cap(), cap()});
    const std::int32_t ne = kyrox::cap_point_count({cap(), cap()});
    const float scale = data.ConsumeBool() ? 1.0f : data.ConsumeFloatingPointInRange<float>(0.01f, 64.0f);
    std::vector<OutlinePoint> outline = kyrox::build_stroke_outline(piece, scale, ns, ne);
    if (!kyrox::is_finite_outline(outline)) {
        outline.clear();
    }
    std::ranges::transform(outline, outline.begin(), kyrox::clamp_to_limit);
    return outline;
}

// The coverage the row jobs give from the whole edge list over every sub-row, in one job.
void whole_list_coverage(Planes& planes, const std::vector<OutlinePoint>& points, kyrox::PolygonKind kind,
                         float intensity)
{
    std::vector<OutlinePoint> kept = points;
    std::ranges::transform(kept, kept.begin(), kyrox::clamp_to_limit);
    const kyrox::CoverageParams params{16, 0.00390625f, 0.0625f, kept, intensity};
    const std::vector<kyrox::EdgeRecord> edges = kyrox::make_sorted_edges(kept, 16.0f);
    const std::int32_t width = planes.core.width();
    const kyrox::CoverageJob job{0, &params, edges, kind, &planes.glow, &planes.core, intensity, width};
    kyrox::polygon_rows_job({0, 16 * planes.core.height(), 0}, job);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size)
{
    FuzzedDataProvider data(bytes, size);
    const auto width = data.ConsumeIntegralInRange<std::int32_t>(1, 96);
    const auto height = data.ConsumeIntegralInRange<std::int32_t>(1, 96);
    const auto kind = data.ConsumeBool() ? kyrox::PolygonKind::path_piece : kyrox::PolygonKind::blade;
    const float intensity = data.ConsumeBool() ? 1.0f : data.ConsumeFloatingPointInRange<float>(0.0f, 4.0f);
    const std::vector<OutlinePoint> points = data.ConsumeBool() ? stroke_polygon(data) : raw_polygon(data);
    if (points.size() < 3 || !kyrox::is_finite_outline(points)) {
        return 0;
    }
    Planes planes(width, height);
    kyrox::fill_polygon_coverage({16, 0.00390625f, 0.0625f, points, intensity}, planes.glow, planes.core, kind);
    Planes expected(width, height);
    whole_list_coverage(expected, points, kind, intensity);
    for (std::int32_t y = 0; y < height; ++y) {
        for (std::int32_t x = 0; x < width; ++x) {
            const auto i = static_cast<std::size_t>(x);
            const float core = planes.core.row(y)[i];
            const float glow = planes.glow.row(y)[i];
            if (!(core >= 0.0f && core <= 2.0f)) {
                broken("core coverage outside [0, 2]", x, y);
            }
            if (!std::isfinite(glow) || glow < 0.0f) {
                broken("glow source not finite or below 0", x, y);
            }
            if (core != expected.core.row(y)[i] || glow != expected.glow.row(y)[i]) {
                broken("coverage differs from the whole edge list's", x, y);
            }
        }
    }
    return 0;
}
