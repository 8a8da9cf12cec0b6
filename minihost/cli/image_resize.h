#pragma once

#include "minihost/cli/image_files.h"

namespace minihost {

// The image scaled to width x height with a tent filter as wide as a source pixel or a target pixel,
// whichever is larger: bilinear when enlarging, an average over each target pixel's footprint when
// reducing, so that thin lines neither vanish nor alias. Each axis scales by itself.
Rgba8Image resized(const Rgba8Image& image, int width, int height);

}  // namespace minihost
