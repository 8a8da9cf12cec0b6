#include "plugin/render/render_frame.h"

#include <algorithm>
#include <array>
#include <utility>
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

constexpr float hot_core_box = 4.0f;

// Row jobs whose rows are independent, in blocks of a multiple of grain rows.
template <class Job>
void run_rows(std::int32_t rows, const Job& job, std::int32_t grain = 1)
{
    parallel_blocks(worker_pool(), RowJob(job), rows, grain);
}

// A frame's planes and scratch, kept from frame to frame per pixel depth so that frames of one size
// allocate nothing and take no page faults, however the blade moves. Each frame clears the planes
// that stages accumulate into and leaves the others to the stage that writes every cell; the
// distortion stage's scratch plane also serves the hot-core cut. A change of frame size replaces
// them all; a change of the blade's rectangles never shrinks them.
struct FramePlanes {
    FloatPlane glow_source;
    FloatPlane core;
    FloatPlane glow;
    FloatPlane halo;
    FloatPlane distorted_halo;
    DistortionBuffers distortion;
    BoxBlurScratch box_blur;
};

// A depth's kept planes, which say whether they exist: a host may set the plug-in down from a static
// destructor of its own at exit, when the plug-in's statics may be gone already. The depth's Gaussian
// buffers are made first, so that they outlive the planes and the flag answers for both.
template <class Channel>
struct DepthPlanes {
    DepthPlanes() noexcept { alive = true; }
    ~DepthPlanes() { alive = false; }
    DepthPlanes(const DepthPlanes&) = delete;
    DepthPlanes& operator=(const DepthPlanes&) = delete;

    FramePlanes planes;
    static inline constinit bool alive = false;  // trivially destroyed: readable at any time
};

// Released at global set-down, or else when the plug-in is unloaded. Two frames of one depth must not
// use them at the same time.
template <class Channel>
FramePlanes& depth_frame_planes()
{
    depth_gauss_buffers<Channel>();
    static DepthPlanes<Channel> kept;
    return kept.planes;
}

void clear_plane_rows(const ThreadWorkData& w, FloatPlane& plane)
{
    for (std::int32_t i = w.begin; i < w.end; ++i) {
        std::ranges::fill(plane.row(i), 0.0f);
    }
}

// Distorts source into destination. A pass in place writes the distortion's scratch plane and
// then trades planes with it, which saves copying the result back.
void distort(const FrameTarget& target, FloatPlane& source, FloatPlane& destination, const DistortionSettings& settings,
             float time, DistortionBuffers& buffers)
{
    if (!(settings.distortion_amount > 0.0f)) {
        return;
    }
    if (&source != &destination) {
        apply_noise_distortion(source.view(), destination.view(), settings, target.downsample_x, time, buffers);
        return;
    }
    fit_plane(buffers.scratch, target.output_view);
    apply_noise_distortion(source.view(), buffers.scratch.view(), settings, target.downsample_x, time, buffers);
    std::swap(source, buffers.scratch);
}

// Alpha Modes 1 (Enable Masks) and 2 (Mask Core) matte the core and halo planes.
bool mattes_core(const SceneRecord& scene)
{
    return !scene.not_mask_core || scene.mask_all;
}

// Everything of a frame that the glow and the no-glow ending share.
struct FrameState {
    const FrameTarget& target;
    const SceneRecord& scene;
    const DistortionSettings& glow_distortion;
    const DistortionSettings& core_distortion;
    float time;
    FramePlanes& planes;
    const ColorRamp& ramp;
};

template <class Channel>
void draw_glow_frame(const FrameState& f, const std::array<float, glow_level_count>& intensities,
                     const std::array<float, glow_level_count>& level_sizes, const LevelRects& rects)
{
    const FrameTarget& target = f.target;
    FramePlanes& p = f.planes;
    const FloatPlane& glow_source = p.glow_source;
    const FloatPlane& core = p.core;
    const std::int32_t height = core.height();
    fit_plane(p.glow, target.output_view);
    fit_plane(p.halo, target.output_view);
    fit_plane(p.distorted_halo, target.output_view);
    FloatPlane& glow = p.glow;
    FloatPlane& halo = p.halo;
    FloatPlane& distorted_halo = p.distorted_halo;
    // Without core distortion nothing writes the distorted halo, which the matte still reads.
    const bool halo_distorted = f.core_distortion.distortion_amount > 0.0f;

    GaussBuffers& gauss = depth_gauss_buffers<Channel>();
    size_gauss_buffers(gauss, static_cast<std::uint64_t>(core.width()) * static_cast<std::uint64_t>(height));
    size_gauss_strips(gauss, height, worker_pool().thread_count());
    std::array<double, glow_level_count> sigmas{};
    for (std::size_t k = 0; k < sigmas.size(); ++k) {
        sigmas[k] = gauss_sigma(level_sizes[k]);
    }
    const GaussPasses passes = gauss_passes(sigmas);
    run_rows(
        core.width(), [&](const ThreadWorkData& w) { return gauss_rows_job(w, rects, glow_source, passes, gauss); },
        gauss_side_by_side_columns(simd::widest_path()));
    run_rows(
        height,
        [&](const ThreadWorkData& w) {
            // A few rows at a time, combined right after their horizontal pass while the cache holds them.
            for (std::int32_t r = w.begin; r < w.end; r += gauss_row_group) {
                const ThreadWorkData rows{r, std::min(r + gauss_row_group, w.end), w.index};
                gauss_columns_job(rows, target, glow_source, rects, passes, gauss);
                if (!halo_distorted) {
                    clear_plane_rows(rows, distorted_halo);
                }
                combine_glow_job(rows, target, glow_source, core, glow, halo, f.scene, intensities, gauss);
            }
            return true;
        },
        gauss_row_group);

    distort(target, glow, glow, f.glow_distortion, f.time, p.distortion);
    distort(target, halo, distorted_halo, f.core_distortion, f.time, p.distortion);
    if (mattes_core(f.scene)) {
        run_rows(height, [&](const ThreadWorkData& w) {
            return apply_matte3_job<Channel>(w, target, halo, p.core, distorted_halo, f.scene);
        });
    }
    const ColorizePlanes planes{glow, halo, distorted_halo, core};
    run_rows(height, [&](const ThreadWorkData& w) {
        return colorize_job<Channel>(w, target, glow_source, planes, f.scene, f.core_distortion, f.ramp);
    });
}

template <class Channel>
void draw_core_frame(const FrameState& f)
{
    FloatPlane& core = f.planes.core;
    const std::int32_t height = core.height();
    distort(f.target, core, core, f.core_distortion, f.time, f.planes.distortion);
    if (mattes_core(f.scene)) {
        run_rows(height, [&](const ThreadWorkData& w) { return apply_matte_job<Channel>(w, f.target, core, f.scene); });
    }
    run_rows(height, [&](const ThreadWorkData& w) {
        return write_output_job<Channel>(w, f.target, f.planes.glow_source, core, f.scene, f.ramp);
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
    FramePlanes& planes = depth_frame_planes<Channel>();
    fit_plane(planes.glow_source, target.output_view);
    fit_plane(planes.core, target.output_view);
    fit_box_blur_scratch(planes.box_blur, static_cast<std::uint64_t>(width) * static_cast<std::uint64_t>(height));
    FloatPlane& glow_source = planes.glow_source;
    FloatPlane& core = planes.core;
    // Coverage adds into the glow source and core planes, so they start each frame at zero.
    run_rows(height, [&](const ThreadWorkData& w) {
        clear_plane_rows(w, glow_source);
        clear_plane_rows(w, core);
        return clear_rows_job<Channel>(w, target, scene);
    });

    const FrameScales scales = frame_scales(scene, target.downsample_x);
    const std::array<float, glow_level_count> intensities = level_intensities(scene, target.downsample_x, time);
    const bool glow_on = any_glow(intensities);

    const std::vector<CorePolygon> polygons =
        build_core_outline(scene, target.downsample_x, time, scales.start_cap, scales.end_cap, {0, height});
    const OutlineBounds bounds = outline_bounds(polygons);
    const LevelRects rects = level_rects(bounds, scales.level_sizes, glow_on, width, height);

    for (const CorePolygon& polygon : polygons) {
        fill_polygon_coverage({16, 0.00390625f, 0.0625f, polygon.points, polygon.intensity}, glow_source, core,
                              polygon.kind);
    }
    if (!scene.not_mask_core) {
        run_rows(height,
                 [&](const ThreadWorkData& w) { return apply_matte_job<Channel>(w, target, glow_source, scene); });
    }

    // The glow source keeps the core's rim and loses its hot inside.
    const CoreRect rect = core_rect(bounds, width, height);
    if (rect.y1 - rect.y0 > 0) {
        // The box blur writes the whole core rectangle, which is all the cut reads.
        FloatPlane& scratch = planes.distortion.scratch;
        fit_plane(scratch, target.output_view);
        const float box = hot_core_box * scales.inverse_downsample;
        box_blur_sat(scratch.view(), glow_source.view(), rect, box, box, planes.box_blur);
        run_rows(rect.y1 - rect.y0,
                 [&](const ThreadWorkData& w) { return cut_hot_core_job(w, rect, scratch, glow_source); });
    }
    if (scales.softness > 0.0f) {
        box_blur_sat(core.view(), core.view(), core_rect(bounds, core.width(), core.height()), scales.softness,
                     scales.softness, planes.box_blur);
    }

    if (is_empty(drawable_area(bounds, target.input_view))) {
        return;
    }
    const ColorRamp ramp = build_frame_ramp(base_ramps, scene);
    const FrameState state{target, scene, glow_distortion, core_distortion, time, planes, ramp};
    if (glow_on) {
        draw_glow_frame<Channel>(state, intensities, scales.level_sizes, rects);
    } else {
        draw_core_frame<Channel>(state);
    }
}

namespace {

template <class Channel>
void release_depth_buffers() noexcept
{
    if (!DepthPlanes<Channel>::alive) {
        return;  // never made, or gone already at exit
    }
    depth_frame_planes<Channel>() = FramePlanes();
    depth_gauss_buffers<Channel>() = GaussBuffers();
}

}  // namespace

void release_kept_frame_buffers() noexcept
{
    release_depth_buffers<std::uint8_t>();
    release_depth_buffers<std::uint16_t>();
    release_depth_buffers<float>();
}

template void render_frame<std::uint8_t>(std::span<const ColorRamp>, const FrameTarget&, const SceneRecord&,
                                         const DistortionSettings&, const DistortionSettings&, float);
template void render_frame<std::uint16_t>(std::span<const ColorRamp>, const FrameTarget&, const SceneRecord&,
                                          const DistortionSettings&, const DistortionSettings&, float);
template void render_frame<float>(std::span<const ColorRamp>, const FrameTarget&, const SceneRecord&,
                                  const DistortionSettings&, const DistortionSettings&, float);

}  // namespace kyrox
