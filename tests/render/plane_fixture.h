#pragma once

#include <cstdint>
#include <cstring>
#include <vector>

#include "plugin/host/world_view.h"
#include "plugin/render/float_plane.h"
#include "plugin/render/pixel_depth.h"

namespace kyrox::testing {

inline WorldView sized_view(std::int32_t width, std::int32_t height)
{
    WorldView view;
    view.width = width;
    view.height = height;
    return view;
}

// A float plane of the given size with every cell at value.
inline FloatPlane filled_plane(std::int32_t width, std::int32_t height, float value)
{
    FloatPlane plane{sized_view(width, height)};
    for (std::int32_t i = 0; i < height; ++i) {
        for (float& cell : plane.row(i)) {
            cell = value;
        }
    }
    return plane;
}

// A host pixel buffer of the depth of Channel, every pixel at fill, whose view may show only a
// part of it (view_width x view_height), so that writes beyond the view can be seen.
template <class Channel>
struct HostWorld {
    HostWorld(std::int32_t width, std::int32_t height, Pixel<Channel> fill, std::int32_t view_width = -1,
              std::int32_t view_height = -1)
        : stride(width), pixels(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), fill)
    {
        view.row_bytes = static_cast<std::int32_t>(sizeof(Pixel<Channel>)) * width;
        view.bytes_per_channel = static_cast<std::uint8_t>(sizeof(Channel));
        view.width = view_width < 0 ? width : view_width;
        view.height = view_height < 0 ? height : view_height;
        view.data = pixels.data();
    }

    Pixel<Channel>& at(std::int32_t row, std::int32_t column)
    {
        return pixels[static_cast<std::size_t>(row) * static_cast<std::size_t>(stride) +
                      static_cast<std::size_t>(column)];
    }

    std::int32_t stride;
    std::vector<Pixel<Channel>> pixels;
    WorldView view;
};

}  // namespace kyrox::testing
