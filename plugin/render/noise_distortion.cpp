#include "plugin/render/noise_distortion.h"

#include "plugin/render/float_plane.h"
#include "plugin/render/noise_distortion_jobs.h"
#include "plugin/render/noise_distortion_setup.h"
#include "plugin/render/worker_pool.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace kyrox {

void apply_noise_distortion(const FrameTarget& planes, const DistortionSettings& settings, float time)
{
    const WorldView& destination = planes.output_view;
    const DistortionSetup setup = distortion_setup(settings, planes.downsample_x, time);

    WorldView noise = noise_plane_view(destination);
    std::vector<NoiseCell> cells(static_cast<std::size_t>(noise.width) * static_cast<std::size_t>(noise.height));
    noise.data = cells.data();
    const NoiseFieldTask field{settings, setup, noise};
    parallel_for(
        worker_pool(), [&field](const ThreadWorkData& work) { return noise_field_job(field, work); }, noise.height);

    // The source is only read while the scratch plane is written, so it may be the destination.
    const FloatPlane scratch(destination);
    const NoiseDisplaceTask displace{settings, setup, noise, planes.input_view, scratch.view};
    parallel_for(
        worker_pool(), [&displace](const ThreadWorkData& work) { return noise_displace_job(displace, work); },
        destination.height);

    for (std::int32_t i = 0; i < destination.height; ++i) {
        std::ranges::copy(scratch.row(i), plane_row(destination, i).begin());
    }
}

}  // namespace kyrox
