#include "plugin/render/pixels/pixel_color.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

namespace kyrox {

namespace {

float positive(float v) noexcept
{
    return v > 0.0f ? v : 0.0f;
}

}  // namespace

Color4 ramp_color(const ColorRamp& ramp, float v) noexcept
{
    const std::size_t last = ramp.size() - 1;
    const float x = static_cast<float>(ramp.size()) * v;
    std::size_t i0 = 0;
    float t = 0.0f;
    if (x > 0.0f) {
        i0 = x >= static_cast<float>(last) ? last : static_cast<std::size_t>(x);
        t = std::min(x - static_cast<float>(i0), 1.0f);
    }
    const std::size_t i1 = std::min(i0 + 1, last);
    Color4 c{};
    for (std::size_t lane = 0; lane < c.size(); ++lane) {
        c[lane] = positive((1.0f - t) * ramp[i0].lanes[lane] + t * ramp[i1].lanes[lane]);
    }
    return c;
}

Color4 grade_color(Color4 c, float saturation, float gamma) noexcept
{
    if (saturation < 1.0f || saturation > 1.0f) {
        const float grey = (c[lane_red] + c[lane_green] + c[lane_blue]) * 0.33333334f;
        for (std::size_t lane = lane_red; lane <= lane_blue; ++lane) {
            c[lane] = positive(grey * (1.0f - saturation) + saturation * c[lane]);
        }
    }
    for (std::size_t lane = lane_red; lane <= lane_blue; ++lane) {
        c[lane] = std::pow(c[lane], gamma);
    }
    return c;
}

Color4 add_over(const Color4& p, const Color4& c) noexcept
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
