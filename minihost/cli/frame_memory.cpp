#include "minihost/cli/frame_memory.h"

#include <unistd.h>

#include <cstdio>
#include <stdexcept>

namespace minihost {
namespace {

constexpr std::uint64_t float_planes = 6;
constexpr std::uint64_t gauss_buffers = 2;
constexpr std::uint64_t gauss_cell_bytes = 2 * sizeof(double);

std::string gib(std::uint64_t bytes)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.1f GiB", static_cast<double>(bytes) / (1024.0 * 1024.0 * 1024.0));
    return text;
}

std::uint64_t physical_memory_bytes() noexcept
{
    const long pages = ::sysconf(_SC_PHYS_PAGES);
    const long page_size = ::sysconf(_SC_PAGESIZE);
    return pages > 0 && page_size > 0 ? static_cast<std::uint64_t>(pages) * static_cast<std::uint64_t>(page_size) : 0;
}

}  // namespace

std::uint64_t frame_memory_bytes(A_long width, A_long height, int bytes_per_channel) noexcept
{
    const std::uint64_t pixels = static_cast<std::uint64_t>(width) * static_cast<std::uint64_t>(height);
    const std::uint64_t host_buffers = 2 * 4 * static_cast<std::uint64_t>(bytes_per_channel);
    return pixels * (host_buffers + float_planes * sizeof(float) + gauss_buffers * gauss_cell_bytes);
}

std::string frame_memory_text(A_long width, A_long height, int bytes_per_channel)
{
    return "a " + std::to_string(width) + " x " + std::to_string(height) + " " + std::to_string(bytes_per_channel * 8) +
           "-bit frame needs about " + gib(frame_memory_bytes(width, height, bytes_per_channel)) + " of memory";
}

void check_frame_fits(A_long width, A_long height, int bytes_per_channel)
{
    const std::uint64_t available = physical_memory_bytes();
    if (available != 0 && frame_memory_bytes(width, height, bytes_per_channel) > available) {
        throw std::runtime_error(frame_memory_text(width, height, bytes_per_channel) + "; this machine has " +
                                 gib(available));
    }
}

}  // namespace minihost
