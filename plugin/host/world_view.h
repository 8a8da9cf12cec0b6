#pragma once

#include <cstdint>

namespace kyrox {

// A checked-out host pixel buffer as the renderer reads it: four channels per pixel, alpha first.
// The view does not own the pixels; the host owns the buffer until the command ends.
struct WorldView {
    std::int32_t row_bytes = 0;
    std::uint8_t bytes_per_channel = 1;
    std::int32_t origin_x = 0;
    std::int32_t origin_y = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;
    void* data = nullptr;
};

}  // namespace kyrox
