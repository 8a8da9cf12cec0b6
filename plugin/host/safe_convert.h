#pragma once

#include <cstdint>

#include "hostapi/pf_basic_types.h"

namespace kyrox {

// Truncation toward zero that saturates at the ends of the 32-bit range; NaN gives 0.
std::int32_t truncate_to_i32(double value) noexcept;

// The host's downsampling as an integer factor (denominator / numerator, truncated): 1 at full
// resolution, 2 at half. A ratio the host gives malformed (zero or negative numerator, zero
// denominator) counts as full resolution.
std::int32_t downsample_factor(const PF_RationalScale& scale) noexcept;

// numerator / denominator in single precision (0.5 at half resolution); a malformed ratio gives 1.
float ratio_fraction(A_long num, A_u_long den) noexcept;

// A host double narrowed to float, or false when it is NaN, infinite or beyond the float range.
bool narrow_to_finite(double value, float& out) noexcept;

}  // namespace kyrox
