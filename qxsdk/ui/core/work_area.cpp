#include "qxsdk/ui/core/work_area.h"

#include <algorithm>
#include <limits>

namespace qxsdk::ui {

std::int32_t keep_in_work_area(std::int32_t at, std::int32_t outer_length, std::int32_t work_start,
                               std::int32_t work_end) noexcept
{
    // In 64 bits, so that no sum of screen coordinates overflows.
    std::int64_t placed = at;
    if (placed + outer_length > work_end) {
        placed = std::int64_t{work_end} - outer_length;
    }
    if (placed < work_start) {
        placed = std::int64_t{work_start} + 1;
    }
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(placed, std::numeric_limits<std::int32_t>::min(),
                                                              std::numeric_limits<std::int32_t>::max()));
}

}  // namespace qxsdk::ui
