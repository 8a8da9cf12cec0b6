#pragma once

#include <type_traits>

#include "plugin/render/pixels/pixel_color.h"
#include "plugin/render/pixels/pixel_depth.h"

namespace kyrox {

// One channel of a colour in 0..1 as the depth stores it: integer depths scale by their full
// value, truncate and clamp to 0..full (NaN gives 0); float stores the value as it is.
template <class Channel>
Channel to_channel(float c) noexcept
{
    if constexpr (std::is_floating_point_v<Channel>) {
        return c;
    } else {
        constexpr float full = PixelDepth<Channel>::full_scale;
        const float v = full * c;
        if (!(v > 0.0f)) {
            return Channel{0};
        }
        return v >= full ? PixelDepth<Channel>::full_scale : static_cast<Channel>(v);
    }
}

template <class Channel>
Pixel<Channel> to_pixel(const Color4& c) noexcept
{
    return {to_channel<Channel>(c[lane_alpha]), to_channel<Channel>(c[lane_red]), to_channel<Channel>(c[lane_green]),
            to_channel<Channel>(c[lane_blue])};
}

// A host pixel in 0..1 (float pixels as they are).
template <class Channel>
Color4 to_color(const Pixel<Channel>& p) noexcept
{
    constexpr float k = PixelDepth<Channel>::channel_scale;
    return {k * static_cast<float>(p.alpha), k * static_cast<float>(p.red), k * static_cast<float>(p.green),
            k * static_cast<float>(p.blue)};
}

}  // namespace kyrox
