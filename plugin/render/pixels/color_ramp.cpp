#include "plugin/render/pixels/color_ramp.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <stdexcept>

namespace kyrox {

namespace {

struct Rgb {
    double red;
    double green;
    double blue;
};

// Pure colours of the six hue sectors, in sector order.
constexpr std::array<Rgb, 6> sector_colors{{
    {1, 0, 0},
    {1, 1, 0},
    {0, 1, 0},
    {0, 1, 1},
    {0, 0, 1},
    {1, 0, 1},
}};

double luma(const Rgb& c) noexcept
{
    return 0.299 * c.red + 0.587 * c.green + 0.114 * c.blue;
}

// Black through the pure colour to white, with luma i / 256 at entry i: the colour scaled (and
// lifted with grey where doubling it is not enough) to luma 1 gives the slope; the entry where its
// brightest channel reaches 1 is the knee, after which the other channels rise to 1 at entry 256.
ColorRamp base_ramp(const Rgb& pure)
{
    const double f = std::min(2.0, 1.0 / luma(pure));
    const double q = 1.0 - f * luma(pure);
    const std::array<double, 3> slope{f * pure.red + q, f * pure.green + q, f * pure.blue + q};
    const double knee = 256.0 / std::max({slope[0], slope[1], slope[2]});
    ColorRamp ramp(color_ramp_length);
    for (std::size_t i = 0; i < ramp.size(); ++i) {
        const auto x = static_cast<double>(i);
        auto& lanes = ramp[i].lanes;
        lanes[lane_alpha] = 1.0f;
        for (std::size_t c = 0; c < slope.size(); ++c) {
            const double at_knee = slope[c] * knee / 256.0;
            const double value = x <= knee ? at_knee * x / knee
                                           : at_knee + (1.0 - at_knee) * (x - knee) / (256.0 - knee);
            lanes[lane_red + c] = static_cast<float>(value);
        }
    }
    return ramp;
}

struct Hsv {
    float hue;  // degrees, [0, 360)
    float saturation;
    float value;
};

Hsv hsv_of(float r, float g, float b) noexcept
{
    const float mx = std::max({r, g, b});
    const float mn = std::min({r, g, b});
    if (mx == mn) {
        return {0.0f, 0.0f, mx};
    }
    // The channel at the minimum picks the formula; red is tested first, then green.
    float d = 0.0f;
    float base = 0.0f;
    if (r == mn) {
        d = g - b;
        base = 3.0f;
    } else if (g == mn) {
        d = b - r;
        base = 5.0f;
    } else {
        d = r - g;
        base = 1.0f;
    }
    return {std::fmod((base - d / (mx - mn)) * 60.0f, 360.0f), (mx - mn) / mx, mx};
}

// The alpha curve: c * m / (c - |m| + 1) lifts low intensities more the larger the boost.
float boosted_alpha(float m, float alpha_boost) noexcept
{
    const float c = -1.0f / (alpha_boost * 0.5f + 0.001f) - 0.002f;
    return c * m / (c - std::fabs(m) + 1.0f);
}

}  // namespace

void build_color_ramps(std::vector<ColorRamp>& ramps)
{
    for (const Rgb& pure : sector_colors) {
        ramps.push_back(base_ramp(pure));
    }
}

ColorRamp build_frame_ramp(std::span<const ColorRamp> base_ramps, const SceneRecord& scene)
{
    if (base_ramps.empty()) {
        throw std::invalid_argument("no base colour ramps");
    }
    const Hsv hsv = hsv_of(scene.glow_color[0], scene.glow_color[1], scene.glow_color[2]);
    const float w = hsv.saturation * hsv.value;

    const auto sectors = static_cast<std::int32_t>(base_ramps.size());
    const float width = 360.0f / static_cast<float>(sectors);
    // A glow colour that is not a number has no hue; it counts as hue 0 so that the sector exists.
    const float hue = hsv.hue >= 0.0f && hsv.hue < 360.0f ? hsv.hue : 0.0f;
    const std::int32_t k = static_cast<std::int32_t>(static_cast<float>(sectors) * (hue * 0.0027777778f)) % sectors;
    const std::int32_t k1 = (k + 1) % sectors;
    const float t = (hue - width * std::trunc(hue * (1.0f / width))) * (1.0f / width);

    const ColorRamp& from = base_ramps[static_cast<std::size_t>(k)];
    const ColorRamp& to = base_ramps[static_cast<std::size_t>(k1)];
    const std::size_t n = std::min(from.size(), to.size());
    const float grey_step = n > 1 ? 1.0f / static_cast<float>(n - 1) : 0.0f;
    const bool black = scene.composite_mode == CompositeMode::black;

    ColorRamp ramp(n);
    for (std::size_t i = 0; i < n; ++i) {
        auto& lanes = ramp[i].lanes;
        const float grey = (1.0f - w) * static_cast<float>(i) * grey_step;
        for (std::size_t lane = 0; lane < lanes.size(); ++lane) {
            lanes[lane] = w * ((1.0f - t) * from[i].lanes[lane] + t * to[i].lanes[lane]) + grey;
        }
        if (black) {
            lanes[lane_alpha] = 1.0f;
            continue;
        }
        const float m = std::max({lanes[lane_red], lanes[lane_green], lanes[lane_blue]});
        if (m > 0.0f) {
            for (float& lane : lanes) {
                lane *= 1.0f / m;
            }
            lanes[lane_alpha] = boosted_alpha(m, scene.alpha_boost);
        } else {
            lanes[lane_alpha] = 0.0f;
        }
    }
    return ramp;
}

}  // namespace kyrox
