#pragma once

#include "plugin/host/distortion_settings.h"
#include "plugin/noise/improved_noise.h"
#include "plugin/noise/pipeline.h"
#include "plugin/noise/pipeline_cache.h"
#include "plugin/noise/ridged_multi_module.h"
#include "plugin/render/bilinear_sample.h"

#include <vector>

namespace kyrox {

// The noise of one distortion type for one chunk of noise rows. Each chunk builds its own, so the noise
// objects are never shared between threads; Smoke needs no ridged element and builds none.
class DistortionNoise {
public:
    explicit DistortionNoise(const DistortionSettings& settings);
    DistortionNoise(const DistortionNoise&) = delete;
    DistortionNoise& operator=(const DistortionNoise&) = delete;

    // The two raw noise channels at the two offset points of one cell.
    NoiseCell at(const NoisePoint& p1, const NoisePoint& p2);

    bool has_ridged_element() const { return ridged_ != nullptr; }

private:
    float ridged(const NoisePoint& p, std::vector<noisepp::PipelineCacheRecord>& cache) const;

    int type_;
    int octaves_;
    noisepp::RidgedMultiModule3D module_;
    noisepp::Pipeline3D pipeline_;
    const noisepp::PipelineElement3D* ridged_ = nullptr;
    std::vector<noisepp::PipelineCacheRecord> cache_x_;
    std::vector<noisepp::PipelineCacheRecord> cache_y_;
};

// Bias and invert of one noise channel: a bias other than 1 (NaN counts as 1) bends |v| by that power
// and keeps the sign; invert negates.
float shape_noise_channel(float v, float bias, bool invert);

}  // namespace kyrox
