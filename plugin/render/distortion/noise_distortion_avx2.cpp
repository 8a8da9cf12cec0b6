#include "plugin/render/distortion/bilinear_sample_avx2.h"
#include "plugin/render/distortion/noise_distortion_kernels.h"
#include "plugin/render/distortion/noise_distortion_wide.h"

namespace kyrox {

// Eight groups of eight pixels keep enough source reads in flight.
std::size_t displace_avx2(const DisplaceRow& row, std::size_t first, std::size_t count, std::span<float> out)
{
    return displace_lanes<simd::F32x8, 8>(row, first, count, out);
}

}  // namespace kyrox
