#pragma once

#include "plugin/host/distortion_settings.h"
#include "plugin/host/world_view.h"
#include "plugin/noise/improved_noise.h"
#include "plugin/render/bilinear_sample.h"

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

// The noise plane of a destination plane: half its cells in each direction, and at least one, so that
// a one-pixel frame still has a cell to read. The view has no data yet.
WorldView noise_plane_view(const WorldView& destination);

}  // namespace kyrox
