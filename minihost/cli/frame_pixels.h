#pragma once

#include <cstddef>
#include <span>
#include <vector>

#include "minihost/host_world.h"

namespace minihost {

// A frame's pixels copied out of the host's buffer, which the next frame's render reuses: channels alpha
// first as in the host, rows packed without the host's padding.
struct FramePixels {
    int width = 0;
    int height = 0;
    int bytes_per_channel = 1;
    std::vector<std::byte> bytes;

    std::size_t row_bytes() const noexcept
    {
        return static_cast<std::size_t>(width) * 4 * static_cast<std::size_t>(bytes_per_channel);
    }
    std::span<const std::byte> row(int y) const noexcept
    {
        return std::span(bytes).subspan(static_cast<std::size_t>(y) * row_bytes(), row_bytes());
    }
};

// Copies the world's pixels into `into`, reusing its memory when it is large enough.
void copy_pixels(const HostWorld& world, FramePixels& into);

}  // namespace minihost
