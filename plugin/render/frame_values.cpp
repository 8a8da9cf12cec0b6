#include "plugin/render/frame_values.h"

#include "plugin/render/frame_values_detail.h"

#include <algorithm>
#include <cmath>

#include "plugin/noise/flicker_noise.h"
#include "plugin/render/geometry/outline_geometry.h"
#include "plugin/render/seeded_random.h"

namespace kyrox {
namespace {

constexpr float least_length = 0.001f;
constexpr float core_margin = 50.0f;

// max(min(v, limit), 0), with NaN sent to 0 so that the truncation after it is defined.
float clamp_coordinate(float v, float limit) noexcept
{
    if (!(v > 0.0f)) {
        return 0.0f;
    }
    return v < limit ? v : limit;
}

}  // namespace

bool nothing_to_draw(const SceneRecord& scene) noexcept
{
    return !(std::fabs(scene.start_offset - scene.end_offset) >= least_length) || !(scene.core_size >= least_length);
}

FrameScales frame_scales(const SceneRecord& scene, float downsample_x) noexcept
{
    FrameScales s;
    const float l = 1.0f / downsample_x;
    s.inverse_downsample = l;
    const float hs = scene.start_size * 0.01f * scene.core_size * l;
    const float he = scene.end_size * 0.01f * scene.core_size * l;
    s.start_cap = {hs, hs * scene.start_roundness * 0.01f};
    s.end_cap = {he, he * scene.end_roundness * 0.01f};
    s.softness = scene.core_softness * l;
    for (int k = 0; k < glow_level_count; ++k) {
        s.level_sizes[static_cast<std::size_t>(k)] = scene.glow_size[k] * l;
    }
    return s;
}

float flicker_multiplier(const SceneRecord& scene, float time) noexcept
{
    // With Mask Randomization each path flickers by itself when its outline is built.
    const float amplitude = scene.mask_randomization && !scene.paths.empty() ? 0.0f
                                                                             : scene.flicker_amount * 0.25f * 0.01f;
    std::minstd_rand generator = seeded_generator(scene.random_seed);
    const float u = canonical_draw(generator);
    const float n = flicker_noise(time * scene.flicker_speed * 0.5f + u * 1000.0f);
    const float m = n * 0.5f * amplitude + 1.0f;
    return m > 0.0f ? m : 0.0f;
}

float downsampling_compensation(float downsample_x, float core_size) noexcept
{
    const float level = std::min(std::log2(downsample_x), 4.0f);
    const float k = std::min(std::max(core_size - 4.0f, 0.0f), 1.0f);
    return (75.0f - (level + 1.0f) * 14.5f) * 0.016528925f * k + (1.0f - k);
}

std::array<float, glow_level_count> level_intensities(const SceneRecord& scene, float downsample_x, float time) noexcept
{
    const float g = downsampling_compensation(downsample_x, scene.core_size) * flicker_multiplier(scene, time);
    std::array<float, glow_level_count> intensities{};
    for (int k = 0; k < glow_level_count; ++k) {
        intensities[static_cast<std::size_t>(k)] = g * scene.glow_intensity[k];
    }
    return intensities;
}

bool any_glow(std::span<const float, glow_level_count> intensities) noexcept
{
    return std::any_of(intensities.begin(), intensities.end(), [](float v) { return v > 0.0f; });
}

OutlineBounds outline_bounds(std::span<const CorePolygon> polygons) noexcept
{
    OutlineBounds b;
    for (const CorePolygon& polygon : polygons) {
        for (const OutlinePoint& p : polygon.points) {
            b.min_x = std::min(b.min_x, p.x);
            b.min_y = std::min(b.min_y, p.y);
            b.max_x = std::max(b.max_x, p.x);
            b.max_y = std::max(b.max_y, p.y);
        }
    }
    return b;
}

LevelRects level_rects(const OutlineBounds& bounds, std::span<const float, glow_level_count> level_sizes, bool glow_on,
                       std::int32_t width, std::int32_t height) noexcept
{
    const float w = static_cast<float>(width);
    const float h = static_cast<float>(height);
    LevelRects rects;
    for (std::size_t k = 0; k < rects.size(); ++k) {
        const float margin = glow_on ? level_sizes[k] * 3.7f + 2.0f : 0.0f;
        const float x0 = clamp_coordinate(bounds.min_x - margin, w);
        const float y0 = clamp_coordinate(bounds.min_y - margin, h);
        const float x1 = clamp_coordinate(bounds.max_x + margin, w);
        const float y1 = clamp_coordinate(bounds.max_y + margin, h);
        rects[k] = {static_cast<std::int32_t>(x0), static_cast<std::int32_t>(y0), static_cast<std::int32_t>(w - x1),
                    static_cast<std::int32_t>(h - y1)};
    }
    return rects;
}

CoreRect core_rect(const OutlineBounds& bounds, std::int32_t width, std::int32_t height) noexcept
{
    // In double, where the truncated coordinate and the margin are exact.
    const auto edge = [](float v, double margin, std::int32_t limit) {
        return clamped_trunc(std::trunc(static_cast<double>(v)) + margin, 0, limit);
    };
    return {edge(bounds.min_x, -core_margin, width), edge(bounds.min_y, -core_margin, height),
            edge(bounds.max_x, core_margin, width), edge(bounds.max_y, core_margin, height)};
}

CoreRect drawable_area(const OutlineBounds& bounds, const WorldView& input) noexcept
{
    return {clamped_trunc(std::trunc(bounds.min_x), 0, input.width),
            clamped_trunc(std::trunc(bounds.min_y), 0, input.height),
            clamped_trunc(std::ceil(bounds.max_x), 0, input.width),
            clamped_trunc(std::ceil(bounds.max_y), 0, input.height)};
}

double gauss_sigma(float level_size) noexcept
{
    return static_cast<double>(level_size > 0.5f ? level_size : 0.5f);
}

}  // namespace kyrox
