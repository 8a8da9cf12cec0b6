#include "plugin/render/gauss_buffers.h"

#include <limits>
#include <new>

namespace kyrox {

void size_gauss_buffers(GaussBuffers& gauss, std::uint64_t cell_count)
{
    if (cell_count == gauss.cell_count) {
        return;
    }
    // Release the old cells before taking the new ones, so that a resize never holds both.
    gauss.cell_count = 0;
    for (std::vector<GaussPair>& buffer : gauss.buffers) {
        std::vector<GaussPair>().swap(buffer);
    }
    if (cell_count > std::numeric_limits<std::size_t>::max() / sizeof(GaussPair)) {
        throw std::bad_alloc();
    }
    try {
        for (std::vector<GaussPair>& buffer : gauss.buffers) {
            buffer.resize(static_cast<std::size_t>(cell_count));
        }
    } catch (...) {
        for (std::vector<GaussPair>& buffer : gauss.buffers) {
            std::vector<GaussPair>().swap(buffer);
        }
        throw;
    }
    gauss.cell_count = cell_count;
}

bool holds_plane(const GaussBuffers& gauss, std::int32_t width, std::int32_t height) noexcept
{
    if (width < 0 || height < 0) {
        return false;
    }
    const std::uint64_t cells = static_cast<std::uint64_t>(width) * static_cast<std::uint64_t>(height);
    return gauss.buffers[0].size() >= cells && gauss.buffers[1].size() >= cells;
}

}  // namespace kyrox
