#include "plugin/render/render_frame.h"

#include <array>
#include <vector>

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

namespace kyrox {
namespace {

// Inert by design: the planes start at the output's origin, so every stage gets a zero offset.
constexpr PlaneOffset plane_offset{};
constexpr float hot_core_box = 4.0f;

template <class Job>
void run_rows(std::int32_t rows, const Job& job)
{
    parallel_for(worker_pool(), RowJob(job), rows);
}

// What the distortion stage is handed: the frame's factors with two planes in place of the buffers.
FrameTarget distortion_block(const FrameTarget& target, const FloatPlane& source, const FloatPlane& destination)
{
    FrameTarget block = target;
    block.input_view = source.view;
    block.output_view = destination.view;
    block.output_origin_x = 0;
    block.output_origin_y = 0;
    block.bytes_per_channel = 4;
    return block;
}

void distort(const FrameTarget& target, const FloatPlane& source, const FloatPlane& destination,
             const DistortionSettings& settings, float time)
{
    if (settings.distortion_amount > 0.0f) {
        apply_noise_distortion(distortion_block(target, source, destination), settings, time);
    }
}

// Alpha Modes 1 (Enable Masks) and 2 (Mask Core) matte the core and halo planes.
bool mattes_core(const SceneRecord& scene) { return !scene.not_mask_core || scene.mask_all; }

// Everything of a frame that the glow and the no-glow ending share.
struct FrameState {
    const FrameTarget& target;
    const SceneRecord& scene;
    const DistortionSettings& glow_distortion;
    const DistortionSettings& core_distortion;
    float time;
    const FloatPlane& glow_source;
    FloatPlane& core;
    const ColorRamp& ramp;
};

template <class Channel>
void draw_glow_frame(const FrameState& f, const std::array<float, glow_level_count>& intensities,
                     const std::array<float, glow_level_count>& level_sizes, const LevelRects& rects)
{
    const FrameTarget& target = f.target;
    const std::int32_t height = f.core.height();
    FloatPlane glow(target.output_view);
    FloatPlane halo(target.output_view);
    FloatPlane distorted_halo(target.output_view);

    GaussBuffers& gauss = depth_gauss_buffers<Channel>();
    size_gauss_buffers(gauss, static_cast<std::uint64_t>(f.core.width()) * static_cast<std::uint64_t>(height));
    run_rows(height, [&](const ThreadWorkData& w) { return load_gauss_rows_job(w, f.glow_source, gauss); });
    std::array<double, glow_level_count> sigmas{};
    for (std::size_t k = 0; k < sigmas.size(); ++k) {
        sigmas[k] = gauss_sigma(level_sizes[k]);
    }
    const GaussPasses passes = gauss_passes(sigmas);
    run_rows(f.core.width(),
             [&](const ThreadWorkData& w) { return gauss_rows_job(w, rects, f.glow_source, passes, gauss); });
    run_rows(height, [&](const ThreadWorkData& w) {
        return gauss_columns_job(w, plane_offset, target, f.glow_source, rects, passes, gauss);
    });
    run_rows(height, [&](const ThreadWorkData& w) {
        return combine_glow_job(w, plane_offset, target, f.glow_source, f.core, glow, halo, f.scene, intensities,
                                gauss);
    });

    distort(target, glow, glow, f.glow_distortion, f.time);
    distort(target, halo, distorted_halo, f.core_distortion, f.time);
    if (mattes_core(f.scene)) {
        run_rows(height, [&](const ThreadWorkData& w) {
            return apply_matte3_job<Channel>(w, plane_offset, target, halo, f.core, distorted_halo, f.scene);
        });
    }
    const ColorizePlanes planes{glow, halo, distorted_halo, f.core};
    run_rows(height, [&](const ThreadWorkData& w) {
        return colorize_job<Channel>(w, plane_offset, target, f.glow_source, planes, f.scene, f.core_distortion,
                                     f.ramp);
    });
}

template <class Channel>
void draw_core_frame(const FrameState& f)
{
    const std::int32_t height = f.core.height();
    distort(f.target, f.core, f.core, f.core_distortion, f.time);
    if (mattes_core(f.scene)) {
        run_rows(height, [&](const ThreadWorkData& w) {
            return apply_matte_job<Channel>(w, plane_offset, f.target, f.core, f.scene);
        });
    }
    run_rows(height, [&](const ThreadWorkData& w) {
        return write_output_job<Channel>(w, plane_offset, f.target, f.glow_source, f.core, f.scene, f.ramp);
    });
}

}  // namespace

template <class Channel>
void render_frame(std::span<const ColorRamp> base_ramps, const FrameTarget& target, const SceneRecord& scene,
                  const DistortionSettings& glow_distortion, const DistortionSettings& core_distortion, float time)
{
    const std::int32_t width = target.output_view.width;
    const std::int32_t height = target.output_view.height;
    if (nothing_to_draw(scene)) {
        if (scene.composite_mode == CompositeMode::add) {
            run_rows(height, [&](const ThreadWorkData& w) { return copy_rows_job(w, target); });
        } else {
            run_rows(height, [&](const ThreadWorkData& w) { return clear_rows_job<Channel>(w, target, scene); });
        }
        return;
    }
    run_rows(height, [&](const ThreadWorkData& w) { return clear_rows_job<Channel>(w, target, scene); });

    const FrameScales scales = frame_scales(scene, target.downsample_x);
    const std::array<float, glow_level_count> intensities = level_intensities(scene, target.downsample_x, time);
    const bool glow_on = any_glow(intensities);

    const std::vector<CorePolygon> polygons =
        build_core_outline(scene, target.downsample_x, time, scales.start_cap, scales.end_cap);
    const OutlineBounds bounds = outline_bounds(polygons);
    const LevelRects rects = level_rects(bounds, scales.level_sizes, glow_on, width, height);

    FloatPlane glow_source(target.output_view);
    FloatPlane core(target.output_view);
    for (const CorePolygon& polygon : polygons) {
        fill_polygon_coverage({16, 0.00390625f, 0.0625f, polygon.points, polygon.intensity}, glow_source, core,
                              polygon.kind);
    }
    if (!scene.not_mask_core) {
        run_rows(height, [&](const ThreadWorkData& w) {
            return apply_matte_job<Channel>(w, plane_offset, target, glow_source, scene);
        });
    }

    // The glow source keeps the core's rim and loses its hot inside.
    const CoreRect rect = core_rect(bounds, width, height);
    if (rect.y1 - rect.y0 > 0) {
        const FloatPlane scratch(target.output_view);
        const float box = hot_core_box * scales.inverse_downsample;
        box_blur_sat(scratch.view, glow_source.view, rect, box, box);
        run_rows(rect.y1 - rect.y0,
                 [&](const ThreadWorkData& w) { return cut_hot_core_job(w, rect, scratch, glow_source); });
    }
    if (scales.softness > 0.0f) {
        box_blur_sat(core.view, core.view, core_rect(bounds, core.width(), core.height()), scales.softness,
                     scales.softness);
    }

    if (is_empty(drawable_area(bounds, target.input_view))) {
        return;
    }
    const ColorRamp ramp = build_frame_ramp(base_ramps, scene);
    const FrameState state{target, scene, glow_distortion, core_distortion, time, glow_source, core, ramp};
    if (glow_on) {
        draw_glow_frame<Channel>(state, intensities, scales.level_sizes, rects);
    } else {
        draw_core_frame<Channel>(state);
    }
}

template void render_frame<std::uint8_t>(std::span<const ColorRamp>, const FrameTarget&, const SceneRecord&,
                                         const DistortionSettings&, const DistortionSettings&, float);
template void render_frame<std::uint16_t>(std::span<const ColorRamp>, const FrameTarget&, const SceneRecord&,
                                          const DistortionSettings&, const DistortionSettings&, float);
template void render_frame<float>(std::span<const ColorRamp>, const FrameTarget&, const SceneRecord&,
                                  const DistortionSettings&, const DistortionSettings&, float);

}  // namespace kyrox
