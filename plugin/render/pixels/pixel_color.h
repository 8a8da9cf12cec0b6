#pragma once

#include <array>

#include "plugin/render/pixels/color_ramp.h"

namespace kyrox {

// A colour of four lanes in the order of the host's pixels: alpha, red, green, blue.
using Color4 = std::array<float, 4>;

// The ramp's colour for intensity v, blended between the two entries around n x v; v of 1 and
// above gives the last entry, v of 0 or below (or NaN) the first. Lanes are never below 0.
// The ramp must not be empty.
Color4 ramp_color(const ColorRamp& ramp, float v) noexcept;

// Saturation (unless it is 1 or NaN) and gamma applied to the colour lanes; alpha stays.
Color4 grade_color(Color4 c, float saturation, float gamma) noexcept;

// The colour c added over the input pixel p (both in 0..1), by their alphas.
Color4 add_over(const Color4& p, const Color4& c) noexcept;

}  // namespace kyrox
