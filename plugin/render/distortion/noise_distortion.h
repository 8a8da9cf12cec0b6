#pragma once

// Noise distortion: the set-up of one pass, the noise of each distortion type, the noise plane and
// the displacement (or darkening) of a plane by it.

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "plugin/noise/improved_noise.h"
#include "plugin/noise/pipeline.h"
#include "plugin/noise/pipeline_cache.h"
#include "plugin/noise/ridged_multi_element.h"
#include "plugin/noise/ridged_multi_module.h"
#include "plugin/render/distortion/bilinear_sample.h"
#include "plugin/render/float_plane.h"
#include "plugin/render/plane_view.h"
#include "plugin/render/render_inputs.h"
#include "plugin/render/worker_pool.h"

namespace kyrox {

// What one distortion pass derives from its settings before touching a pixel.
struct DistortionSetup {
    float z = 0.0f;         // the noise's third coordinate: it moves with time
    float wind_cos = 0.0f;  // the wind's direction, a quarter turn from the settings' angle
    float wind_sin = 0.0f;
    NoiseCell drift;        // how far the wind has carried the noise, in noise units
    NoisePoint offset_a{};  // seeded offsets of the two noise channels
    NoisePoint offset_b{};
    float amount = 0.0f;  // displacement in pixels, or the darkening in percent for Multiply
    int samples = 1;      // 6 when the wind smears the noise, else 1
};

DistortionSetup distortion_setup(const DistortionSettings& settings, float downsample_x, float time);

// The noise plane of a destination plane of width x height: half its cells in each direction, and at
// least one, so that a one-pixel frame still has a cell to read; rows follow each other without gaps.
// The view has no data yet.
NoiseView noise_plane_view(std::int32_t width, std::int32_t height);

// The noise of one distortion type for one chunk of noise rows. Each chunk builds its own, so the noise
// objects are never shared between threads; Smoke needs no ridged element and builds none.
class DistortionNoise {
public:
    explicit DistortionNoise(const DistortionSettings& settings);
    DistortionNoise(const DistortionNoise&) = delete;
    DistortionNoise& operator=(const DistortionNoise&) = delete;

    // The two raw noise channels at the two offset points of one cell.
    NoiseCell at(const NoisePoint& p1, const NoisePoint& p2);
    // The same for N cells at once, cell l from p1[l] and p2[l]: 4 anywhere, 8 on the AVX2 path and
    // 16 on the AVX-512 path (simd::widest_path()).
    template <std::size_t N>
    std::array<NoiseCell, N> at(const std::array<NoisePoint, N>& p1, const std::array<NoisePoint, N>& p2);

    bool has_ridged_element() const { return ridged_ != nullptr; }

private:
    float ridged(const NoisePoint& p, std::vector<noisepp::PipelineCacheRecord>& cache) const;
    // The ridged noise of N points, all at once where the element can, else one at a time.
    template <std::size_t N>
    std::array<float, N> ridged_lanes(const std::array<NoisePoint, N>& p,
                                      std::vector<noisepp::PipelineCacheRecord>& cache) const;

    DistortionType type_;
    int octaves_;
    noisepp::RidgedMultiModule3D module_;
    noisepp::Pipeline3D pipeline_;
    const noisepp::RidgedMultiElement3D* ridged_ = nullptr;
    std::vector<noisepp::PipelineCacheRecord> cache_x_;
    std::vector<noisepp::PipelineCacheRecord> cache_y_;
};

// Bias and invert of one noise channel: a bias other than 1 (NaN counts as 1) bends |v| by that power
// and keeps the sign; invert negates.
float shape_noise_channel(float v, float bias, bool invert);

// Fills rows [begin, end) of the noise plane; builds its own noise objects.
struct NoiseFieldTask {
    const DistortionSettings& settings;
    const DistortionSetup& setup;
    NoiseView noise;
};
bool noise_field_job(const NoiseFieldTask& task, const ThreadWorkData& work);

// Writes rows [begin, end) of the scratch plane from the source plane and the finished noise plane.
struct NoiseDisplaceTask {
    const DistortionSettings& settings;
    const DistortionSetup& setup;
    ConstNoiseView noise;
    ConstPlaneView source;
    PlaneView scratch;
};
bool noise_displace_job(const NoiseDisplaceTask& task, const ThreadWorkData& work);

// The stage's own planes: the scratch plane and the noise plane's cells. A caller that keeps them
// from pass to pass allocates nothing once they have the destination's size.
struct DistortionBuffers {
    FloatPlane scratch;
    std::vector<NoiseCell> noise;
};

// Distorts the source plane into the destination plane (they may be the same plane), of equal size,
// by the settings' noise at the given time, in seconds; downsample_x is the frame's horizontal
// downsampling, which scales Multiply's darkening.
void apply_noise_distortion(ConstPlaneView source, PlaneView destination, const DistortionSettings& settings,
                            float downsample_x, float time);
void apply_noise_distortion(ConstPlaneView source, PlaneView destination, const DistortionSettings& settings,
                            float downsample_x, float time, DistortionBuffers& buffers);

}  // namespace kyrox
