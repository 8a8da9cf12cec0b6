#pragma once

#include "plugin/host/distortion_settings.h"
#include "plugin/host/world_view.h"
#include "plugin/render/noise_distortion_setup.h"
#include "plugin/render/worker_pool.h"

namespace kyrox {

// Fills rows [begin, end) of the noise plane; builds its own noise objects.
struct NoiseFieldTask {
    const DistortionSettings& settings;
    const DistortionSetup& setup;
    WorldView noise;
};
bool noise_field_job(const NoiseFieldTask& task, const ThreadWorkData& work);

// Writes rows [begin, end) of the scratch plane from the source plane and the finished noise plane.
struct NoiseDisplaceTask {
    const DistortionSettings& settings;
    const DistortionSetup& setup;
    WorldView noise;
    WorldView source;
    WorldView scratch;
};
bool noise_displace_job(const NoiseDisplaceTask& task, const ThreadWorkData& work);

}  // namespace kyrox
