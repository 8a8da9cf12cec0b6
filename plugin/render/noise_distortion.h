#pragma once

#include "plugin/host/distortion_settings.h"
#include "plugin/host/frame_target.h"

namespace kyrox {

// Distorts the plane of the input view into the plane of the output view (they may be the same plane)
// by the settings' noise at the given time, in seconds. Both views are float planes of equal size.
void apply_noise_distortion(const FrameTarget& planes, const DistortionSettings& settings, float time);

}  // namespace kyrox
