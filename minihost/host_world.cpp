#include "minihost/host_world.h"

#include <cmath>
#include <cstring>
#include <stdexcept>

namespace minihost {

float full_scale(int bytes_per_channel) noexcept
{
    switch (bytes_per_channel) {
    case 1:
        return 255.0f;
    case 2:
        return 32768.0f;
    default:
        return 1.0f;
    }
}

HostWorld::HostWorld(A_long width, A_long height, int bytes_per_channel, A_long row_padding)
    : bytes_per_channel_(bytes_per_channel)
{
    if (bytes_per_channel != 1 && bytes_per_channel != 2 && bytes_per_channel != 4) {
        throw std::invalid_argument("minihost: bytes per channel must be 1, 2 or 4");
    }
    if (width < 0 || height < 0 || row_padding < 0) {
        throw std::invalid_argument("minihost: negative world size");
    }
    const std::size_t row_bytes = (static_cast<std::size_t>(width) * 4 * static_cast<std::size_t>(bytes_per_channel) +
                                   static_cast<std::size_t>(row_padding) + 7) /
                                  8 * 8;
    storage_.assign(row_bytes / 8 * static_cast<std::size_t>(height), 0);
    world_.data = storage_.empty() ? nullptr : storage_.data();
    world_.rowbytes = static_cast<A_long>(row_bytes);
    world_.width = width;
    world_.height = height;
    world_.extent_hint = {0, 0, width, height};
    world_.pix_aspect_ratio = {1, 1};
}

void HostWorld::set_origin(A_long x, A_long y) noexcept
{
    world_.origin_x = x;
    world_.origin_y = y;
}

std::byte* HostWorld::pixel(A_long x, A_long y, int c)
{
    return const_cast<std::byte*>(static_cast<const HostWorld&>(*this).pixel(x, y, c));
}

const std::byte* HostWorld::pixel(A_long x, A_long y, int c) const
{
    if (x < 0 || y < 0 || x >= world_.width || y >= world_.height || c < 0 || c > 3) {
        throw std::out_of_range("minihost: pixel outside the world");
    }
    const auto* base = reinterpret_cast<const std::byte*>(storage_.data());
    return base + static_cast<std::size_t>(y) * static_cast<std::size_t>(world_.rowbytes) +
           (static_cast<std::size_t>(x) * 4 + static_cast<std::size_t>(c)) *
               static_cast<std::size_t>(bytes_per_channel_);
}

float HostWorld::channel(A_long x, A_long y, int c) const
{
    const std::byte* p = pixel(x, y, c);
    switch (bytes_per_channel_) {
    case 1:
        return static_cast<float>(std::to_integer<std::uint8_t>(*p)) / full_scale(1);
    case 2: {
        std::uint16_t v = 0;
        std::memcpy(&v, p, sizeof v);
        return static_cast<float>(v) / full_scale(2);
    }
    default: {
        float v = 0;
        std::memcpy(&v, p, sizeof v);
        return v;
    }
    }
}

void HostWorld::set_channel(A_long x, A_long y, int c, float value)
{
    std::byte* p = pixel(x, y, c);
    // Integer depths clamp to their range; float channels keep the value as given.
    const auto integer = std::lround(std::fmin(std::fmax(value, 0.0f), 1.0f) * full_scale(bytes_per_channel_));
    switch (bytes_per_channel_) {
    case 1:
        *p = static_cast<std::byte>(integer);
        break;
    case 2: {
        const auto v = static_cast<std::uint16_t>(integer);
        std::memcpy(p, &v, sizeof v);
        break;
    }
    default:
        std::memcpy(p, &value, sizeof value);
        break;
    }
}

void HostWorld::fill(float alpha, float red, float green, float blue)
{
    const float values[4] = {alpha, red, green, blue};
    for (A_long y = 0; y < world_.height; ++y) {
        for (A_long x = 0; x < world_.width; ++x) {
            for (int c = 0; c < 4; ++c) {
                set_channel(x, y, c, values[c]);
            }
        }
    }
}

}  // namespace minihost
