// Cost per frame of the blade's geometry at 1920 x 1080: the outline of a wide blade (one sample and
// sixteen motion-blur samples), its anti-aliased coverage, and the summed-area box blur of the core
// rectangle at a small and a large box (its cost does not depend on the size).
#include "plugin/render/blur/box_blur_sat.h"
#include "plugin/render/outline/core_outline.h"
#include "plugin/render/float_plane.h"
#include "plugin/render/coverage/polygon_coverage.h"
#include "tests/support/blade_scenes.h"

#include <benchmark/benchmark.h>

#include <array>
#include <vector>

namespace {

constexpr std::int32_t frame_width = 1920;
constexpr std::int32_t frame_height = 1080;

kyrox::WorldView frame_model()
{
    kyrox::WorldView model;
    model.width = frame_width;
    model.height = frame_height;
    return model;
}

// A wide blade moving a little between its motion-blur samples.
kyrox::SceneRecord blade_scene(std::int32_t samples)
{
    std::vector<kyrox::CoreSegment> segments;
    for (std::int32_t i = 0; i < samples; ++i) {
        const float shift = 6.0f * static_cast<float>(i);
        segments.push_back({200.0f + shift, 300.0f + shift, 1700.0f - shift, 800.0f + shift});
    }
    return kyrox::test::outline_scene(std::move(segments));
}

const kyrox::CapSize blade_cap{40.0f, 30.0f};

void BM_CoreOutline(benchmark::State& state)
{
    const kyrox::SceneRecord scene = blade_scene(static_cast<std::int32_t>(state.range(0)));
    for (auto _ : state) {
        benchmark::DoNotOptimize(kyrox::build_core_outline(scene, 1.0f, 0.0f, blade_cap, blade_cap));
    }
}
BENCHMARK(BM_CoreOutline)->Arg(1)->Arg(16)->Unit(benchmark::kMicrosecond);

void BM_PolygonCoverage(benchmark::State& state)
{
    const kyrox::SceneRecord scene = blade_scene(static_cast<std::int32_t>(state.range(0)));
    const std::vector<kyrox::CorePolygon> polygons = kyrox::build_core_outline(scene, 1.0f, 0.0f, blade_cap, blade_cap);
    kyrox::FloatPlane glow(frame_model());
    kyrox::FloatPlane core(frame_model());
    for (auto _ : state) {
        for (const kyrox::CorePolygon& polygon : polygons) {
            kyrox::fill_polygon_coverage({16, 0.00390625f, 0.0625f, polygon.points, polygon.intensity}, glow, core,
                                         polygon.kind);
        }
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_PolygonCoverage)->Arg(1)->Arg(16)->Unit(benchmark::kMillisecond);

// A path piece's outline on a 32 x 32 frame with one corner drawn out 10^6 px along 10^6 points, in
// the direction of the argument (0 right, 1 left, 2 down): its cost should follow the frame.
void BM_FarOutlineCoverage(benchmark::State& state)
{
    constexpr std::array<kyrox::OutlinePoint, 3> far{{{1e6f, 20.0f}, {-1e6f, 16.0f}, {20.0f, 1e6f}}};
    const kyrox::OutlinePoint corner = far[static_cast<std::size_t>(state.range(0))];
    constexpr std::int32_t steps = 500000;
    std::vector<kyrox::OutlinePoint> points;
    const auto line = [&points](kyrox::OutlinePoint a, kyrox::OutlinePoint b) {
        for (std::int32_t i = 0; i < steps; ++i) {
            const float t = static_cast<float>(i) / static_cast<float>(steps);
            points.push_back({(1.0f - t) * a.x + t * b.x, (1.0f - t) * a.y + t * b.y});
        }
    };
    line({4.0f, 4.0f}, corner);
    line(corner, {28.0f, 28.0f});
    points.push_back({4.0f, 28.0f});
    kyrox::WorldView model;
    model.width = 32;
    model.height = 32;
    kyrox::FloatPlane glow(model);
    kyrox::FloatPlane core(model);
    for (auto _ : state) {
        kyrox::fill_polygon_coverage({16, 0.00390625f, 0.0625f, points, 1.0f}, glow, core,
                                     kyrox::PolygonKind::path_piece);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_FarOutlineCoverage)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

// A 96 x 96 frame crossed by a 20,000 px blade whose ends swing 20,000 px over 2,000 motion-blur samples:
// building the outline and its coverage should cost what the frame shows, not what the sweep reaches.
void BM_FarSweptBlade(benchmark::State& state)
{
    constexpr std::int32_t side = 96;
    constexpr std::int32_t samples = 2000;
    std::vector<kyrox::CoreSegment> segments;
    for (std::int32_t i = 0; i < samples; ++i) {
        const float swing = 10.0f * static_cast<float>(i) - 10000.0f;
        segments.push_back({48.0f + swing, -10000.0f, 48.0f - swing, 10000.0f});
    }
    const kyrox::SceneRecord scene = kyrox::test::outline_scene(std::move(segments));
    kyrox::WorldView model;
    model.width = side;
    model.height = side;
    kyrox::FloatPlane glow(model);
    kyrox::FloatPlane core(model);
    const kyrox::CapSize cap{4.0f, 3.0f};
    for (auto _ : state) {
        for (const kyrox::CorePolygon& polygon : kyrox::build_core_outline(scene, 1.0f, 0.0f, cap, cap, {0, side})) {
            kyrox::fill_polygon_coverage({16, 0.00390625f, 0.0625f, polygon.points, polygon.intensity}, glow, core,
                                         polygon.kind);
        }
        benchmark::ClobberMemory();
    }
}
// The work runs on the worker pool, so wall time is what it costs.
BENCHMARK(BM_FarSweptBlade)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_BoxBlurSat(benchmark::State& state)
{
    kyrox::FloatPlane plane(frame_model());
    for (std::int32_t y = 0; y < frame_height; ++y) {
        for (std::int32_t x = 0; x < frame_width; ++x) {
            plane.row(y)[static_cast<std::size_t>(x)] = static_cast<float>((x * 7 + y * 13) % 97) / 97.0f;
        }
    }
    const auto size = static_cast<float>(state.range(0));
    kyrox::BoxBlurScratch kept;  // as a frame keeps it
    kyrox::fit_box_blur_scratch(kept, std::uint64_t{frame_width} * frame_height);
    for (auto _ : state) {
        kyrox::box_blur_sat(plane.view(), plane.view(), {0, 0, frame_width, frame_height}, size, size, kept);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_BoxBlurSat)->Arg(4)->Arg(60)->Unit(benchmark::kMillisecond);

}  // namespace
