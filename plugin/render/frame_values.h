#pragma once

#include <array>
#include <cstdint>
#include <span>

#include "plugin/render/render_inputs.h"
#include "plugin/render/geometry/core_polygon.h"
#include "plugin/render/geometry/core_rect.h"
#include "plugin/render/outline/elliptic_cap.h"
#include "plugin/render/blur/level_rect.h"

// The scalar work of one frame: what the renderer computes before and between its pixel stages.
namespace kyrox {

// True when the visible part of the core has no length (NaN counts as none) or the core has no size.
bool nothing_to_draw(const SceneRecord& scene) noexcept;

// Sizes scaled to the downsampled frame.
struct FrameScales {
    float inverse_downsample = 1.0f;
    CapSize start_cap;
    CapSize end_cap;
    float softness = 0.0f;
    std::array<float, glow_level_count> level_sizes{};
};
FrameScales frame_scales(const SceneRecord& scene, float downsample_x) noexcept;

// The four levels' intensities for this frame: flicker and compensation applied.
std::array<float, glow_level_count> level_intensities(const SceneRecord& scene, float downsample_x,
                                                      float time) noexcept;
bool any_glow(std::span<const float, glow_level_count> intensities) noexcept;

// Smallest and largest coordinates of every outline point; inverted (min above max) without points.
struct OutlineBounds {
    float min_x = 3.4028235e38f;
    float min_y = 3.4028235e38f;
    float max_x = -3.4028235e38f;
    float max_y = -3.4028235e38f;
};
OutlineBounds outline_bounds(std::span<const CorePolygon> polygons) noexcept;

// Each level's area reaches 3.7 of its size (plus 2) beyond the outline, or nothing beyond it when
// the glow is off; all inside the width x height plane.
LevelRects level_rects(const OutlineBounds& bounds, std::span<const float, glow_level_count> level_sizes, bool glow_on,
                       std::int32_t width, std::int32_t height) noexcept;

// The outline's area plus 50 cells, inside the width x height plane; empty (x1 <= x0 or y1 <= y0) when
// the outline lies outside it or has no points.
CoreRect core_rect(const OutlineBounds& bounds, std::int32_t width, std::int32_t height) noexcept;

// The outline's pixels inside the input layer; empty when the outline misses the layer.
CoreRect drawable_area(const OutlineBounds& bounds, const WorldView& input) noexcept;
inline bool is_empty(const CoreRect& r) noexcept
{
    return r.x1 <= r.x0 || r.y1 <= r.y0;
}

// The Gaussian's sigma for a level's scaled size: the size, but never below 0.5 (NaN gives 0.5).
double gauss_sigma(float level_size) noexcept;

}  // namespace kyrox
