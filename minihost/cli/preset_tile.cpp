#include "minihost/cli/preset_tile.h"

#include <algorithm>
#include <cmath>

#include "minihost/cli/image_resize.h"

namespace minihost {

int tile_downsample(const TileLayout& layout) noexcept
{
    const double ratio = std::min(static_cast<double>(layout.reference_width) / layout.tile_width,
                                  static_cast<double>(layout.reference_height) / layout.tile_height);
    return std::max(static_cast<int>(std::lround(ratio)), 1);
}

SessionSettings tile_session(const TileLayout& layout, const std::string& preset, A_long frame_count)
{
    SessionSettings s;
    s.width = layout.reference_width;
    s.height = layout.reference_height;
    s.downsample = tile_downsample(layout);
    s.preset = preset;
    s.frame_count = frame_count;
    return s;
}

Rgba8Image tile_image(const HostWorld& output, const TileLayout& layout)
{
    return resized(rgba8_of(output), static_cast<int>(layout.tile_width), static_cast<int>(layout.tile_height));
}

}  // namespace minihost
