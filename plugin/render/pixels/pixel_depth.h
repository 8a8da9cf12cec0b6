#pragma once

#include <cstdint>
#include <span>

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

}  // namespace kyrox
