#pragma once

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <span>
#include <vector>

#include "plugin/platform/simd/lanes.h"
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
inline Color4 ramp_color(std::span<const RampEntry> ramp, float v) noexcept;

// Saturation (unless it is 1 or NaN) and gamma applied to the colour lanes; alpha stays.
inline Color4 grade_color(Color4 c, float saturation, float gamma) noexcept;

// The colour c added over the input pixel p (both in 0..1), by their alphas.
inline Color4 add_over(const Color4& p, const Color4& c) noexcept;

// The formulas of colouring, written once for float and the lane types of plugin/platform/simd, so
// the one-pixel and the wide paths take the same operations in the same order.

// The blend of two ramp entries' values by the weight t of the second, not below 0.
template <class V>
KYROX_LANES V ramp_blend(V t, V first, V second) noexcept
{
    using simd::positive;  // the lane types' overloads are found by their arguments
    return positive((1.0f - t) * first + t * second);
}

// The grey of a colour's red, green and blue.
template <class V>
KYROX_LANES V grey_of(V red, V green, V blue) noexcept
{
    return (red + green + blue) * 0.33333334f;
}

// A colour lane moved from the pixel's grey by the saturation, not below 0.
template <class V>
KYROX_LANES V saturated(V grey, V lane, float saturation) noexcept
{
    using simd::positive;
    return positive(grey * (1.0f - saturation) + saturation * lane);
}

// Where intensity v falls in a ramp: the two entries it blends and the weight of the second.
struct RampPosition {
    std::size_t i0;
    std::size_t i1;
    float t;
};

inline RampPosition ramp_position(std::span<const RampEntry> ramp, float v) noexcept
{
    const std::size_t last = ramp.size() - 1;
    const float x = static_cast<float>(ramp.size()) * v;
    std::size_t i0 = 0;
    float t = 0.0f;
    if (x > 0.0f) {
        i0 = x >= static_cast<float>(last) ? last : static_cast<std::size_t>(x);
        t = std::min(x - static_cast<float>(i0), 1.0f);
    }
    return {i0, std::min(i0 + 1, last), t};
}

inline Color4 ramp_color(std::span<const RampEntry> ramp, float v) noexcept
{
    const RampPosition at = ramp_position(ramp, v);
    Color4 c{};
    for (std::size_t lane = 0; lane < c.size(); ++lane) {
        c[lane] = ramp_blend(at.t, ramp[at.i0].lanes[lane], ramp[at.i1].lanes[lane]);
    }
    return c;
}

inline Color4 grade_color(Color4 c, float saturation, float gamma) noexcept
{
    if (saturation < 1.0f || saturation > 1.0f) {
        const float grey = grey_of(c[lane_red], c[lane_green], c[lane_blue]);
        for (std::size_t lane = lane_red; lane <= lane_blue; ++lane) {
            c[lane] = saturated(grey, c[lane], saturation);
        }
    }
    // x^1 is x exactly, and most looks use gamma 1: skip the costly power there.
    if (gamma != 1.0f) {
        for (std::size_t lane = lane_red; lane <= lane_blue; ++lane) {
            c[lane] = std::pow(c[lane], gamma);
        }
    }
    return c;
}

inline Color4 add_over(const Color4& p, const Color4& c) noexcept
{
    const float a = (1.0f - p[lane_alpha]) * c[lane_alpha] + p[lane_alpha];
    if (a == 0.0f) {
        return {};
    }
    Color4 out{a};
    for (std::size_t lane = lane_red; lane <= lane_blue; ++lane) {
        out[lane] = (p[lane_alpha] * p[lane] + c[lane_alpha] * c[lane]) / a;
    }
    return out;
}

}  // namespace kyrox
