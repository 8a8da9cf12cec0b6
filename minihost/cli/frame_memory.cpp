#include "minihost/cli/frame_memory.h"

#include "minihost/cli/frame_memory_detail.h"

#include <unistd.h>

#include <OpenEXR/ImfRgba.h>

#include <cstdio>
#include <stdexcept>
#include <tuple>

#include "plugin/render/blur/gauss_blur.h"
#include "plugin/render/distortion/bilinear_sample.h"
#include "plugin/render/distortion/noise_distortion.h"

namespace minihost {
namespace {

// The effect's float planes of the frame's size, kept from frame to frame: glow source, core, glow,
// halo, distorted halo and the distortion's scratch.
constexpr std::uint64_t effect_planes = 6;
// The summed-area box blur's image and table, each up to one plane.
constexpr std::uint64_t box_blur_planes = 2;
constexpr std::uint64_t gauss_buffers = std::tuple_size_v<decltype(kyrox::GaussBuffers::buffers)>;
// The writer holds the frame it writes and at most frames_waiting_to_be_written more: a hand-over
// copies a frame in only while fewer wait, and written frames' buffers are reused rather than added.
constexpr std::uint64_t writer_frame_copies = frames_waiting_to_be_written + 1;

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
    const std::uint64_t frame = pixels * 4 * static_cast<std::uint64_t>(bytes_per_channel);
    const kyrox::NoiseView noise = kyrox::noise_plane_view(width, height);

    const std::uint64_t host = 2 * frame;  // input and output
    const std::uint64_t effect =
        (effect_planes + box_blur_planes) * pixels * sizeof(float) + gauss_buffers * pixels * sizeof(kyrox::GaussPair) +
        static_cast<std::uint64_t>(noise.width) * static_cast<std::uint64_t>(noise.height) * sizeof(kyrox::NoiseCell);
    const std::uint64_t writer =
        writer_frame_copies * frame + (bytes_per_channel == 4 ? pixels * sizeof(Imf::Rgba) : 0);
    return host + effect + writer;
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
