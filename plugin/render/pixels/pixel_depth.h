#pragma once

#include <cstdint>
#include <span>
#include <type_traits>

#include "plugin/render/pixels/color_ramp.h"
#include "plugin/render/render_inputs.h"

namespace kyrox {

// One host pixel: four channels, alpha first.
template <class Channel>
struct Pixel {
    Channel alpha;
    Channel red;
    Channel green;
    Channel blue;
};

// What differs between the host's pixel depths: the channel type, the value of a full channel and
// the factor that turns a channel into the range 0..1.
template <class Channel>
struct PixelDepth;

template <>
struct PixelDepth<std::uint8_t> {
    static constexpr std::uint8_t full_scale = 255;
    static constexpr float channel_scale = 1.0f / 255.0f;
};

template <>
struct PixelDepth<std::uint16_t> {
    static constexpr std::uint16_t full_scale = 32768;
    static constexpr float channel_scale = 1.0f / 32768.0f;
};

template <>
struct PixelDepth<float> {
    static constexpr float full_scale = 1.0f;
    static constexpr float channel_scale = 1.0f;
};

// The width pixels of one row of a host view of the depth of Channel. The row must exist.
template <class Channel>
std::span<Pixel<Channel>> pixel_row(const WorldView& view, std::int32_t row) noexcept
{
    auto* start = static_cast<std::uint8_t*>(view.data) + static_cast<std::int64_t>(row) * view.row_bytes;
    return {reinterpret_cast<Pixel<Channel>*>(start), static_cast<std::size_t>(view.width)};
}

// Whether the view has pixels at all.
inline bool has_pixels(const WorldView& view) noexcept
{
    return view.data != nullptr && view.width > 0 && view.height > 0;
}

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
