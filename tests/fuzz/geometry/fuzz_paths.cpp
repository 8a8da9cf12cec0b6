// Masks and text outlines as the host hands them over (any vertices and tangents, open or closed,
// several per frame, any downsampling) through flattening, the Start/End Offset window and the stroke
// outline, with any parameter values. Promises: every point a piece holds is finite, the pieces hold
// at most two points per flattened point, and nothing is undefined.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "plugin/host/path_flatten.h"
#include "plugin/host/path_window.h"
#include "plugin/render/outline/elliptic_cap.h"
#include "plugin/render/outline/stroke_outline.h"
#include "tests/fuzz/geometry/fuzz_values.h"

namespace {

using kyrox::fuzz::any_float;
using kyrox::fuzz::coordinate;
using kyrox::fuzz::coordinate_or_bad;

[[noreturn]] void broken(const char* promise)
{
    std::fprintf(stderr, "fuzz_paths: %s\n", promise);
    std::abort();
}

// A tangent: mostly none (a straight segment) or a short one, sometimes any.
float tangent(FuzzedDataProvider& data)
{
    switch (data.ConsumeIntegralInRange<int>(0, 3)) {
    case 0:
        return 0.0f;
    case 1:
    case 2:
        return data.ConsumeFloatingPointInRange<float>(-80.0f, 80.0f);
    default:
        return coordinate_or_bad(data);
    }
}

kyrox::FetchedPath fetched_path(FuzzedDataProvider& data)
{
    kyrox::FetchedPath path;
    path.closed = data.ConsumeBool();
    const auto count = data.ConsumeIntegralInRange<std::size_t>(0, 24);
    for (std::size_t i = 0; i < count && data.remaining_bytes() > 0; ++i) {
        path.vertices.push_back({coordinate_or_bad(data), coordinate_or_bad(data), tangent(data), tangent(data),
                                 tangent(data), tangent(data)});
    }
    // As the gathering does: a closed outline repeats its first vertex.
    if (path.closed && !path.vertices.empty()) {
        path.vertices.push_back(path.vertices.front());
    }
    return path;
}

// An offset: a fraction of the outline, a percentage gone wrong, or any float (offsets are read unbounded).
float offset(FuzzedDataProvider& data)
{
    switch (data.ConsumeIntegralInRange<int>(0, 3)) {
    case 0:
        return data.ConsumeFloatingPointInRange<float>(0.0f, 1.0f);
    case 1:
        return data.ConsumeFloatingPointInRange<float>(-3.0f, 3.0f);
    case 2:
        return data.ConsumeBool() ? 1e36f : -1e36f;
    default:
        return any_float(data) * 0.01f;
    }
}

kyrox::PathWindow path_window(FuzzedDataProvider& data)
{
    kyrox::PathWindow w;
    w.start_offset = offset(data);
    w.end_offset = offset(data);
    // Mask Evolution in turns, reduced as the gathering reduces it.
    w.evolution = std::fmod(data.ConsumeFloatingPointInRange<float>(-1e6f, 1e6f), 1.0f);
    w.offset_size = data.ConsumeBool();
    w.start_half_width = coordinate(data);
    w.end_half_width = coordinate(data);
    w.start_cap = coordinate(data);
    w.end_cap = coordinate(data);
    return w;
}

float downsample(FuzzedDataProvider& data)
{
    switch (data.ConsumeIntegralInRange<int>(0, 3)) {
    case 0:
        return 1.0f;
    case 1:
        return 0.5f;
    case 2:
        return 1.0f / static_cast<float>(data.ConsumeIntegralInRange<int>(1, 64));
    default:
        return static_cast<float>(data.ConsumeIntegralInRange<int>(1, 40000));
    }
}

bool finite_point(const kyrox::PathPoint& p)
{
    return std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.half_width) && std::isfinite(p.cap_length);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size)
{
    FuzzedDataProvider data(bytes, size);
    const float d = downsample(data);
    const kyrox::PathWindow window = path_window(data);
    const kyrox::CapSize start_cap{coordinate(data), coordinate(data)};
    const kyrox::CapSize end_cap{coordinate(data), coordinate(data)};
    const auto path_count = data.ConsumeIntegralInRange<int>(1, 4);
    std::vector<std::vector<kyrox::PathPoint>> pieces;
    std::size_t flat_total = 0;
    for (int k = 0; k < path_count; ++k) {
        const kyrox::FetchedPath path = fetched_path(data);
        const std::vector<kyrox::FlatPoint> points = kyrox::flatten_path(path.vertices, path.closed, d);
        if (points.size() > kyrox::max_flattened_points) {
            broken("more flattened points than the limit");
        }
        flat_total += points.size();
        kyrox::cut_path_pieces(points, window, pieces);
    }
    std::size_t kept = 0;
    for (const std::vector<kyrox::PathPoint>& piece : pieces) {
        if (piece.empty()) {
            broken("an empty piece");
        }
        for (const kyrox::PathPoint& p : piece) {
            if (!finite_point(p)) {
                broken("a piece point that is not finite");
            }
        }
        kept += piece.size();
    }
    if (kept > 2 * flat_total) {
        broken("more piece points than twice the flattened points");
    }
    // The stroke outline of every piece, as the renderer builds it, must stay defined whatever it holds.
    const std::int32_t ns = kyrox::cap_point_count(start_cap);
    const std::int32_t ne = kyrox::cap_point_count(end_cap);
    for (const std::vector<kyrox::PathPoint>& piece : pieces) {
        const std::vector<kyrox::OutlinePoint> outline = kyrox::build_stroke_outline(piece, 1.0f / d, ns, ne);
        if (outline.size() > 2 * piece.size() + static_cast<std::size_t>(ns + ne)) {
            broken("a stroke outline with more points than its piece and caps");
        }
    }
    return 0;
}
