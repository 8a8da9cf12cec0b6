#include "minihost/cli/frame_pixels.h"

#include <cstring>

namespace minihost {

void copy_pixels(const HostWorld& world, FramePixels& into)
{
    into.width = static_cast<int>(world.width());
    into.height = static_cast<int>(world.height());
    into.bytes_per_channel = world.bytes_per_channel();
    const std::size_t row_bytes = into.row_bytes();
    into.bytes.resize(row_bytes * static_cast<std::size_t>(into.height));
    if (into.bytes.empty()) {
        return;  // an empty world has no data to copy from
    }
    const auto* source = static_cast<const std::byte*>(world.world().data);
    const auto stride = static_cast<std::size_t>(world.world().rowbytes);
    for (int y = 0; y < into.height; ++y) {
        std::memcpy(into.bytes.data() + static_cast<std::size_t>(y) * row_bytes,
                    source + static_cast<std::size_t>(y) * stride, row_bytes);
    }
}

}  // namespace minihost
