#include "plugin/render/outline/core_outline.h"

#include <algorithm>

#include "plugin/noise/flicker_noise.h"
#include "plugin/render/outline/blade_outline.h"
#include "plugin/render/geometry/outline_geometry.h"
#include "plugin/render/seeded_random.h"
#include "plugin/render/outline/stroke_outline.h"
#include "plugin/render/worker_pool.h"

namespace kyrox {

namespace {

// Coverage weight of one randomised piece: the frame flicker's curve at a phase of its own.
float piece_flicker(std::minstd_rand& generator, const SceneRecord& scene, float time)
{
    const float u = canonical_draw(generator);
    const float v = flicker_noise(time * scene.flicker_speed * 0.5f + u * 1000.0f);
    const float weight = v * 0.5f * scene.flicker_amount * 0.02f + 1.0f;
    return weight > 0.0f ? weight : 0.0f;
}

std::vector<CorePolygon> path_polygons(const SceneRecord& scene, float scale, float time, std::int32_t ns,
                                       std::int32_t ne)
{
    std::minstd_rand generator = seeded_generator(scene.random_seed);
    std::vector<CorePolygon> polygons;
    for (const std::vector<PathPoint>& piece : scene.paths) {
        // Every piece takes its draw, so a piece keeps its phase when an earlier one is dropped.
        CorePolygon polygon{PolygonKind::path_piece, 1.0f, {}};
        if (scene.mask_randomization) {
            polygon.intensity = piece_flicker(generator, scene, time);
        }
        polygon.points = build_stroke_outline(piece, scale, ns, ne);
        if (polygon.points.empty() || !is_finite_outline(polygon.points)) {
            continue;
        }
        std::transform(polygon.points.begin(), polygon.points.end(), polygon.points.begin(), clamp_to_limit);
        polygons.push_back(std::move(polygon));
    }
    return polygons;
}

}  // namespace

std::vector<CorePolygon> build_core_outline(const SceneRecord& scene, float downsample, float time, CapSize start_cap,
                                            CapSize end_cap, RowWindow rows)
{
    const std::int32_t ns = cap_point_count(start_cap);
    const std::int32_t ne = cap_point_count(end_cap);
    if (!scene.paths.empty()) {
        return path_polygons(scene, 1.0f / downsample, time, ns, ne);
    }
    const BladeShape shape{scene.start_offset, scene.end_offset, start_cap, end_cap, ns, ne};
    std::vector<OutlinePoint> points = build_blade_outline(worker_pool(), scene.core_segments, shape, rows);
    std::vector<CorePolygon> polygons;
    if (!points.empty()) {
        polygons.push_back({PolygonKind::blade, 1.0f, std::move(points)});
    }
    return polygons;
}

}  // namespace kyrox
