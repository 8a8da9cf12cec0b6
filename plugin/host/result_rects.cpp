#include "plugin/host/result_rects.h"

#include <algorithm>

namespace kyrox {

bool is_empty_rect(const PF_LRect& rect) noexcept
{
    return rect.left >= rect.right || rect.top >= rect.bottom;
}

void copy_result_rects(const PF_LRect& source, PF_LRect& destination) noexcept
{
    if (is_empty_rect(destination)) {
        destination = source;
    } else if (!is_empty_rect(source)) {
        destination.left = std::min(destination.left, source.left);
        destination.top = std::min(destination.top, source.top);
        destination.right = std::max(destination.right, source.right);
        destination.bottom = std::max(destination.bottom, source.bottom);
    }
}

}  // namespace kyrox
