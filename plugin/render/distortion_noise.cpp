#include "plugin/render/distortion_noise.h"

#include <cmath>

namespace kyrox {
namespace {

constexpr int smoke = 1;
constexpr int fluid = 2;

}  // namespace

DistortionNoise::DistortionNoise(const DistortionSettings& settings)
    : type_(settings.distortion_type), octaves_(settings.noise_complexity)
{
    if (type_ == smoke) {
        return;
    }
    module_.seed = settings.distortion_seed;
    module_.octaves = settings.noise_complexity;
    ridged_ = &pipeline_.element(module_.attach(pipeline_));
    cache_x_ = pipeline_.pipeline_alloc_cache();
    cache_y_ = pipeline_.pipeline_alloc_cache();
}

float DistortionNoise::ridged(const NoisePoint& p, std::vector<noisepp::PipelineCacheRecord>& cache) const
{
    return ridged_->value(p.x, p.y, p.z, cache.data());
}

NoiseCell DistortionNoise::at(const NoisePoint& p1, const NoisePoint& p2)
{
    if (type_ == smoke) {
        return {fractal_noise2(p1, octaves_), fractal_noise2(p2, octaves_)};
    }
    if (type_ == fluid) {
        const float warp_x = fractal_noise2(p1, octaves_);
        const float warp_y = fractal_noise2(p2, octaves_);
        return {ridged({p1.x + warp_x, p1.y + warp_y, p1.z, 0.0f}, cache_x_),
                ridged({p2.x + warp_x, p2.y + warp_y, p2.z, 0.0f}, cache_y_)};
    }
    return {ridged(p1, cache_x_), ridged(p2, cache_y_)};
}

float shape_noise_channel(float v, float bias, bool invert)
{
    if (bias != 1.0f && !std::isnan(bias)) {
        const float bent = std::pow(std::fabs(v), bias);
        v = v >= 0.0f ? bent : -bent;
    }
    return invert ? -v : v;
}

}  // namespace kyrox
