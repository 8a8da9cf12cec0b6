#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "plugin/render/gauss_pair.h"

namespace kyrox {

// The recursive Gaussian's work cells: buffer 0 holds glow levels 1 and 2 (lane 0, lane 1),
// buffer 1 levels 3 and 4. The cell of plane row i, column j is at i x width + j.
struct GaussBuffers {
    std::array<std::vector<GaussPair>, 2> buffers;
    std::uint64_t cell_count = 0;  // what both buffers were last sized for
};

// Gives both buffers cell_count zero cells unless they were last sized for that count; kept
// contents are not cleared. Throws std::bad_alloc when the cells cannot be had, leaving both
// buffers empty and the count 0, so that the next frame tries again.
void size_gauss_buffers(GaussBuffers& gauss, std::uint64_t cell_count);

// Whether both buffers hold a width x height plane.
bool holds_plane(const GaussBuffers& gauss, std::int32_t width, std::int32_t height) noexcept;

// The work buffers of one pixel depth (Channel of the host's pixels). They outlive frames, so
// that frames of one size allocate nothing for the blur, and are released when the plug-in is
// unloaded. Two frames of one depth must not use them at the same time.
template <class Channel>
GaussBuffers& depth_gauss_buffers()
{
    static GaussBuffers buffers;
    return buffers;
}

}  // namespace kyrox
