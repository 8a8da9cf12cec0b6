#pragma once

#include <cstdint>

#include "qxsdk/ui/core/widget.h"

namespace qxsdk::ui {

// An area by its edges, as the platform gives dirty areas; right and bottom are exclusive.
struct edges {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t right = 0;
    std::int32_t bottom = 0;

    friend bool operator==(const edges&, const edges&) = default;
};

constexpr edges edges_of(const rect& r) noexcept
{
    return {r.x, r.y, saturate_units(std::int64_t{r.x} + r.width), saturate_units(std::int64_t{r.y} + r.height)};
}

// Whether two areas overlap or merely touch: an area that only shares an edge with a dirty area is still
// painted, since the dirty area's pixels may straddle that edge.
constexpr bool touches(const edges& a, const edges& b) noexcept
{
    return a.right >= b.left && a.bottom >= b.top && b.right >= a.left && b.bottom >= a.top;
}

}  // namespace qxsdk::ui
