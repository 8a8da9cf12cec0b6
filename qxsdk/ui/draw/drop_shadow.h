#pragma once

#include <d2d1.h>

#include <array>
#include <cstdint>

#include "qxsdk/ui/core/widget.h"

// The soft shadow the paint recursion draws under a child widget: solid under the middle of the box,
// fading out towards its edges.
namespace qxsdk::ui {

inline constexpr std::size_t shadow_stop_count = 21;

// The fall-off: opaque black at 0, almost transparent at 20/21 (a Gaussian-like curve, 3^(-i^2/72)).
std::array<D2D1_GRADIENT_STOP, shadow_stop_count> shadow_stops();

// The shadow of the rectangle moved by the offset and grown by 7/10 of the size on every side: four corners
// with radial fades, four edges with linear fades and the solid middle.
void paint_drop_shadow(ID2D1RenderTarget& target, ID2D1GradientStopCollection& stops, ID2D1Brush& middle,
                       const rect& area, point offset, std::int32_t size);

}  // namespace qxsdk::ui
