#pragma once

#include <filesystem>
#include <vector>

#include "minihost/cli/frame_pixels.h"
#include "minihost/cli/stop_request.h"
#include "minihost/host_world.h"

namespace minihost {

// Writes a frame as an RGBA image: 8-bit frames as 8-bit PNG, 16-bit frames as 16-bit PNG (the host's
// full scale of 32768 becomes 65535), float frames as OpenEXR with half channels, which keep values
// above 1 (up to 65504). Returns the file written: the path with .png or .exr. Files are written whole
// or not at all (StagedFile). Throws std::runtime_error naming the file and the reason when it cannot
// be written, and Stopped when `stop` is requested before the file is complete: the writing looks
// between PNG rows and between OpenEXR's blocks of lines, so that a large frame ends promptly.
std::filesystem::path write_image(const FramePixels& frame, const std::filesystem::path& without_extension,
                                  const StopRequest& stop = StopRequest::never());

// An 8-bit RGBA picture in memory, row after row.
struct Rgba8Image {
    int width = 0;
    int height = 0;
    std::vector<unsigned char> pixels;  // 4 bytes per pixel: red, green, blue, alpha
};

// Written whole or not at all, and stopped, like write_image.
void write_png(const Rgba8Image& image, const std::filesystem::path& path,
               const StopRequest& stop = StopRequest::never());

// The buffer's channels as 8-bit RGBA, values above 1 clamped.
Rgba8Image rgba8_of(const HostWorld& world);

}  // namespace minihost
