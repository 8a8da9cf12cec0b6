// Cost per frame of the blade's geometry at 1920 x 1080: the outline of a wide blade (one sample and
// sixteen motion-blur samples), its anti-aliased coverage, and the summed-area box blur of the core
// rectangle at a small and a large box (its cost does not depend on the size).
#include "plugin/render/blur/box_blur_sat.h"
#include "plugin/render/outline/core_outline.h"
#include "plugin/render/float_plane.h"
#include "plugin/render/coverage/polygon_coverage.h"
#include "tests/support/blade_scenes.h"

#include <benchmark/benchmark.h>

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

void BM_BoxBlurSat(benchmark::State& state)
{
    kyrox::FloatPlane plane(frame_model());
    for (std::int32_t y = 0; y < frame_height; ++y) {
        for (std::int32_t x = 0; x < frame_width; ++x) {
            plane.row(y)[static_cast<std::size_t>(x)] = static_cast<float>((x * 7 + y * 13) % 97) / 97.0f;
        }
    }
    const auto size = static_cast<float>(state.range(0));
    for (auto _ : state) {
        kyrox::box_blur_sat(plane.view(), plane.view(), {0, 0, frame_width, frame_height}, size, size);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_BoxBlurSat)->Arg(4)->Arg(60)->Unit(benchmark::kMillisecond);

}  // namespace
