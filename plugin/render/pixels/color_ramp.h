#pragma once

#include <array>
#include <cstddef>
#include <span>
#include <vector>

#include "plugin/render/render_inputs.h"

namespace kyrox {

// Lanes of a ramp entry, in the order of the host's pixels.
enum RampLane : std::size_t { lane_alpha = 0, lane_red = 1, lane_green = 2, lane_blue = 3 };

struct alignas(16) RampEntry {
    std::array<float, 4> lanes{};
};

// Maps an intensity (entry index) to a colour and an alpha.
using ColorRamp = std::vector<RampEntry>;

inline constexpr std::size_t color_ramp_length = 256;

// Appends the six base ramps, one per 60-degree hue sector from red through yellow, green, cyan
// and blue to magenta. Each runs from black through its hue to white; entry i has luma i / 256.
void build_color_ramps(std::vector<ColorRamp>& ramps);

// The frame's ramp: the two base ramps on either side of the glow colour's hue blended, greyed by
// its saturation and value, and given the alpha curve of the composite mode and Alpha Boost.
// base_ramps must not be empty.
ColorRamp build_frame_ramp(std::span<const ColorRamp> base_ramps, const SceneRecord& scene);

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
