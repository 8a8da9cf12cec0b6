#include "plugin/render/noise_distortion_setup.h"

#include "plugin/render/seeded_random.h"

#include <algorithm>
#include <cmath>

namespace kyrox {
namespace {

constexpr float quarter_turn = 1.5707964f;
constexpr int multiply = 2;
constexpr int smear_samples = 6;

// Not 0 and not NaN.
bool is_set(float v) { return v > 0.0f || v < 0.0f; }

// Three draws r1, r2, r3 in [-500, 500), stored as (r3, r2, r1).
NoisePoint offset_point(std::minstd_rand& generator)
{
    float r[3];
    for (float& v : r) {
        v = 1000.0f * canonical_draw(generator) - 500.0f;
    }
    return {r[2], r[1], r[0], 0.0f};
}

}  // namespace

DistortionSetup distortion_setup(const DistortionSettings& settings, float downsample_x, float time)
{
    DistortionSetup setup;
    setup.z = settings.noise_speed * time;
    const float angle = settings.wind_direction + quarter_turn;
    setup.wind_cos = std::cos(angle);
    setup.wind_sin = std::sin(angle);
    const float g = 1.0f / settings.noise_scale;
    const float h = time * settings.wind_speed * g * 100.0f;
    setup.drift = {setup.wind_cos * h, setup.wind_sin * h};
    if (settings.lock_to_blade) {
        setup.drift.x -= g * settings.noise_origin[0];
        setup.drift.y -= g * settings.noise_origin[1];
    }
    setup.amount = settings.distortion_amount;
    if (settings.distortion_composite == multiply) {
        setup.amount *= downsample_x;
    }
    std::minstd_rand generator = seeded_generator(settings.distortion_seed);
    setup.offset_a = offset_point(generator);
    setup.offset_b = offset_point(generator);
    setup.samples = is_set(settings.wind_speed) && is_set(settings.distortion_motion_blur) ? smear_samples : 1;
    return setup;
}

WorldView noise_plane_view(const WorldView& destination)
{
    WorldView noise;
    noise.bytes_per_channel = 4;
    noise.width = std::max(destination.width / 2, 1);
    noise.height = std::max(destination.height / 2, 1);
    noise.row_bytes = noise.width * static_cast<std::int32_t>(sizeof(NoiseCell));
    return noise;
}

}  // namespace kyrox
