// Cost of whole 1920 x 1080 frames (each pixel depth for "Default", one preset per distortion type)
// driven through the small host with the plug-in linked in, of each stage of a frame on its own, and
// of a frame at 1, 2, 4 and 8 worker threads.
#include <benchmark/benchmark.h>

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "bench/bench_pool.h"
#include "minihost/frame_session.h"
#include "plugin/host/command_dispatch.h"
#include "plugin/platform/platform.h"
#include "plugin/render/blur/box_blur_sat.h"
#include "plugin/render/outline/core_outline.h"
#include "plugin/render/float_plane.h"
#include "plugin/render/frame_values.h"
#include "plugin/render/blur/gauss_blur.h"
#include "plugin/render/blur/glow_combine.h"
#include "plugin/render/distortion/noise_distortion.h"
#include "plugin/render/pixels/output_jobs.h"
#include "plugin/render/coverage/polygon_coverage.h"
#include "plugin/render/pixels/row_jobs.h"
#include "plugin/render/worker_pool.h"
#include "tests/support/blade_scenes.h"

namespace {

constexpr A_long frame_width = 1920;
constexpr A_long frame_height = 1080;

void run_frames(benchmark::State& state, const std::string& preset, int bytes_per_channel, unsigned workers)
{
    use_workers(workers);
    minihost::SessionSettings settings;
    settings.width = frame_width;
    settings.height = frame_height;
    settings.bytes_per_channel = bytes_per_channel;
    settings.preset = preset;
    settings.frame_count = 12;
    minihost::FrameSession session(&kyrox::plugin_entry, settings);
    for (auto _ : state) {
        benchmark::DoNotOptimize(session.render(5));
    }
    state.SetLabel(preset + ", " + std::to_string(8 * bytes_per_channel) + "-bit, " + std::to_string(workers) +
                   " workers");
}

unsigned all_workers()
{
    return kyrox::platform::logical_processor_count();
}

void BM_FrameDefault(benchmark::State& state)
{
    run_frames(state, "Default", static_cast<int>(state.range(0)), all_workers());
}
BENCHMARK(BM_FrameDefault)->Arg(1)->Arg(2)->Arg(4)->Unit(benchmark::kMillisecond);

void BM_FrameSmoke(benchmark::State& state)
{
    run_frames(state, "Meteor", 1, all_workers());
}
void BM_FrameFluid(benchmark::State& state)
{
    run_frames(state, "Inferno", 1, all_workers());
}
void BM_FrameEnergy(benchmark::State& state)
{
    run_frames(state, "Fire", 1, all_workers());
}
BENCHMARK(BM_FrameSmoke)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FrameFluid)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FrameEnergy)->Unit(benchmark::kMillisecond);

void BM_FrameWorkers(benchmark::State& state)
{
    run_frames(state, "Meteor", 1, static_cast<unsigned>(state.range(0)));
    use_workers(all_workers());
}
BENCHMARK(BM_FrameWorkers)->Arg(1)->Arg(2)->Arg(4)->Arg(8)->Unit(benchmark::kMillisecond);

// One frame's data at 1920 x 1080 for the stages: a long diagonal blade with the Default preset's
// glow levels (sizes in pixels after their multipliers).
struct StageFrame {
    StageFrame() : glow_source(model()), core(model()), glow(model()), halo(model()), scratch(model())
    {
        scene = kyrox::test::glowing_blade_scene({300.0f, 900.0f, 1600.0f, 200.0f}, 3.0f, {184.0f, 61.0f, 24.6f, 8.9f},
                                                 {0.5f, 0.5f, 0.5f, 0.5f});
        scene.saturation = 1.2f;
        scene.glow_color[2] = 1.0f;
        output_pixels.resize(static_cast<std::size_t>(frame_width) * frame_height * 4);
        target.output_view = model();
        target.output_view.row_bytes = frame_width * 4;
        target.output_view.bytes_per_channel = 1;
        target.output_view.data = output_pixels.data();
        target.input_view = target.output_view;
        target.downsample_x = 1.0f;
        target.downsample_y = 1.0f;
        polygons = kyrox::build_core_outline(scene, 1.0f, 0.0f, {1.5f, 0.75f}, {1.5f, 0.75f});
        for (const kyrox::CorePolygon& p : polygons) {
            kyrox::fill_polygon_coverage({16, 0.00390625f, 0.0625f, p.points, p.intensity}, glow_source, core, p.kind);
        }
        bounds = kyrox::outline_bounds(polygons);
        rects = kyrox::level_rects(bounds, sizes_of(), true, frame_width, frame_height);
        kyrox::size_gauss_buffers(gauss, static_cast<std::uint64_t>(frame_width) * frame_height);
        ramps.clear();
        kyrox::build_color_ramps(ramps);
        ramp = kyrox::build_frame_ramp(ramps, scene);
    }
    static kyrox::WorldView model()
    {
        kyrox::WorldView m;
        m.width = frame_width;
        m.height = frame_height;
        return m;
    }
    std::array<float, 4> sizes_of() const
    {
        return {scene.glow_size[0], scene.glow_size[1], scene.glow_size[2], scene.glow_size[3]};
    }

    kyrox::SceneRecord scene;
    kyrox::FloatPlane glow_source, core, glow, halo, scratch;
    std::vector<std::uint8_t> output_pixels;
    kyrox::FrameTarget target;
    std::vector<kyrox::CorePolygon> polygons;
    kyrox::OutlineBounds bounds;
    kyrox::LevelRects rects{};
    kyrox::GaussBuffers gauss;
    std::vector<kyrox::ColorRamp> ramps;
    kyrox::ColorRamp ramp;
};

template <class Job>
void rows(std::int32_t n, const Job& job)
{
    kyrox::parallel_for(kyrox::worker_pool(), kyrox::RowJob(job), n);
}

void BM_StageOutline(benchmark::State& state)
{
    const StageFrame f;
    for (auto _ : state) {
        benchmark::DoNotOptimize(kyrox::build_core_outline(f.scene, 1.0f, 0.0f, {1.5f, 0.75f}, {1.5f, 0.75f}));
    }
}

void BM_StageCoverage(benchmark::State& state)
{
    StageFrame f;
    for (auto _ : state) {
        for (const kyrox::CorePolygon& p : f.polygons) {
            kyrox::fill_polygon_coverage({16, 0.00390625f, 0.0625f, p.points, p.intensity}, f.glow_source, f.core,
                                         p.kind);
        }
    }
}

void BM_StageHotCoreCut(benchmark::State& state)
{
    StageFrame f;
    const kyrox::CoreRect rect = kyrox::core_rect(f.bounds, frame_width, frame_height);
    kyrox::BoxBlurScratch kept;  // as a frame keeps it
    kyrox::fit_box_blur_scratch(kept, std::uint64_t{frame_width} * frame_height);
    for (auto _ : state) {
        kyrox::box_blur_sat(f.scratch.view(), f.glow_source.view(), rect, 4.0f, 4.0f, kept);
        rows(rect.y1 - rect.y0, [&](const kyrox::ThreadWorkData& w) {
            return kyrox::cut_hot_core_job(w, rect, f.scratch, f.glow_source);
        });
    }
}

void BM_StageGaussian(benchmark::State& state)
{
    StageFrame f;
    std::array<double, 4> sigmas{};
    for (std::size_t k = 0; k < 4; ++k) {
        sigmas[k] = kyrox::gauss_sigma(f.scene.glow_size[k]);
    }
    for (auto _ : state) {
        const kyrox::GaussPasses passes = kyrox::gauss_passes(sigmas);
        rows(frame_width, [&](const kyrox::ThreadWorkData& w) {
            return kyrox::gauss_rows_job(w, f.rects, f.glow_source, passes, f.gauss);
        });
        rows(frame_height, [&](const kyrox::ThreadWorkData& w) {
            return kyrox::gauss_columns_job(w, f.target, f.glow_source, f.rects, passes, f.gauss);
        });
    }
}

void BM_StageCombineGlow(benchmark::State& state)
{
    StageFrame f;
    const std::array<float, 4> intensities{0.5f, 0.5f, 0.5f, 0.5f};
    for (auto _ : state) {
        rows(frame_height, [&](const kyrox::ThreadWorkData& w) {
            return kyrox::combine_glow_job(w, f.target, f.glow_source, f.core, f.glow, f.halo, f.scene, intensities,
                                           f.gauss);
        });
    }
}

// A strong distortion of the given type and composite, with or without the wind's six samples.
kyrox::DistortionSettings stage_distortion(kyrox::DistortionType type, kyrox::DistortionComposite composite,
                                           float motion_blur)
{
    kyrox::DistortionSettings d;
    d.distortion_type = type;
    d.distortion_composite = composite;
    d.distortion_amount = 50.0f;
    d.noise_scale = 150.0f;
    d.noise_complexity = 5;
    d.noise_aspect_ratio = 1.0f;
    d.noise_bias = 1.0f;
    d.wind_speed = 1.5f;
    d.distortion_motion_blur = motion_blur;
    d.noise_speed = 1.5f;
    return d;
}

void BM_StageDistortion(benchmark::State& state)
{
    StageFrame f;
    const kyrox::DistortionSettings d =
        stage_distortion(static_cast<kyrox::DistortionType>(static_cast<std::int32_t>(state.range(0))),
                         kyrox::DistortionComposite::displace, static_cast<float>(state.range(1)));
    for (auto _ : state) {
        kyrox::apply_noise_distortion(f.glow.view(), f.glow.view(), d, f.target.downsample_x, 0.5f);
    }
    state.SetLabel(std::string(d.distortion_type == kyrox::DistortionType::smoke   ? "smoke"
                               : d.distortion_type == kyrox::DistortionType::fluid ? "fluid"
                                                                                   : "energy") +
                   (state.range(1) != 0 ? ", six wind samples" : ""));
}

// The displacement (or darkening) of a frame by a finished noise plane, six wind samples, on the
// calling thread alone: the job's own cost, without the pool or the noise field.
void BM_StageDisplaceJob(benchmark::State& state)
{
    StageFrame f;
    const kyrox::DistortionSettings d =
        stage_distortion(kyrox::DistortionType::smoke,
                         static_cast<kyrox::DistortionComposite>(static_cast<std::int32_t>(state.range(0))), 1.0f);
    const kyrox::DistortionSetup setup = kyrox::distortion_setup(d, 1.0f, 0.5f);
    kyrox::NoiseView noise = kyrox::noise_plane_view(frame_width, frame_height);
    std::vector<kyrox::NoiseCell> cells(static_cast<std::size_t>(noise.width) * static_cast<std::size_t>(noise.height));
    noise.data = cells.data();
    kyrox::noise_field_job({d, setup, noise}, {0, noise.height, 0});
    const kyrox::NoiseDisplaceTask task{d, setup, noise, f.glow_source.view(), f.scratch.view()};
    for (auto _ : state) {
        kyrox::noise_displace_job(task, {0, frame_height, 0});
        benchmark::ClobberMemory();
    }
    state.SetLabel(d.distortion_composite == kyrox::DistortionComposite::displace ? "displace" : "multiply");
}

void BM_StageColorize(benchmark::State& state)
{
    StageFrame f;
    const kyrox::ColorizePlanes planes{f.glow, f.halo, f.halo, f.core};
    const kyrox::DistortionSettings none;
    for (auto _ : state) {
        rows(frame_height, [&](const kyrox::ThreadWorkData& w) {
            return kyrox::colorize_job<std::uint8_t>(w, f.target, f.glow_source, planes, f.scene, none, f.ramp);
        });
    }
}

BENCHMARK(BM_StageOutline)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StageCoverage)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StageHotCoreCut)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StageGaussian)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StageCombineGlow)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StageDistortion)->Args({1, 0})->Args({2, 0})->Args({3, 0})->Args({1, 1})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StageDisplaceJob)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StageColorize)->Unit(benchmark::kMillisecond);

}  // namespace
