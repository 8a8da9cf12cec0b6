#pragma once

#include <string>

#include "minihost/frame_session.h"
#include "minihost/cli/image_files.h"

namespace minihost {

// A contact sheet tile: a preset as it looks on a frame of the reference size, drawn at tile size the
// way a host draws a reduced-resolution preview. Preset sizes are in pixels of the full frame, so a
// preset rendered straight at tile size would show its glow many times too large.
struct TileLayout {
    A_long reference_width = 1920;
    A_long reference_height = 1080;
    A_long tile_width = 240;
    A_long tile_height = 136;
};

// The downsample factor nearest to the reference-to-tile ratio (at least 1). Of the two axes' ratios
// the smaller counts, so that a tile of another shape than the reference is not drawn coarser than it.
int tile_downsample(const TileLayout& layout) noexcept;

// The session that draws the preset's tile: the reference frame with the tile's downsample factor.
SessionSettings tile_session(const TileLayout& layout, const std::string& preset, A_long frame_count);

// The rendered output at tile size: as it is when the factor gives the tile's size exactly, else
// filtered into it.
Rgba8Image tile_image(const HostWorld& output, const TileLayout& layout);

}  // namespace minihost
