#pragma once

#include "hostapi/pf_basic_types.h"

namespace kyrox {

// A rectangle is empty when left >= right or top >= bottom.
bool is_empty_rect(const PF_LRect& rect) noexcept;

// Merges source into destination: an empty destination takes the source, an empty source changes
// nothing, otherwise destination becomes the union of both.
void copy_result_rects(const PF_LRect& source, PF_LRect& destination) noexcept;

}  // namespace kyrox
