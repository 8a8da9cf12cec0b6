#include "plugin/render/distortion/bilinear_sample_avx512.h"
#include "plugin/render/distortion/noise_distortion_kernels.h"
#include "plugin/render/distortion/noise_distortion_wide.h"

namespace kyrox {

// Four groups of sixteen pixels fill a block of the job.
std::size_t displace_avx512(const DisplaceRow& row, std::size_t first, std::size_t count, std::span<float> out)
{
    return displace_lanes<simd::F32x16, 4>(row, first, count, out);
}

}  // namespace kyrox
