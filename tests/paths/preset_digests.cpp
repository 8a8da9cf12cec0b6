// Prints a digest of every output byte of small frames of every built-in preset: each depth, the
// frame sizes whose noise and pixel rows end in partial lane groups, and a reduced-resolution
// preview. Run once per instruction path (KYROX_SIMD), the listings must agree line for line.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <exception>

#include "minihost/frame_session.h"
#include "plugin/host/command_dispatch.h"
#include "plugin/host/preset_values.h"
#include "plugin/platform/simd/simd_path.h"

namespace {

// 64-bit FNV-1a over the output's pixels, row by row (the padding between rows is not the frame's).
std::uint64_t digest(const minihost::HostWorld& world)
{
    std::uint64_t hash = 0xcbf29ce484222325u;
    const auto row_bytes =
        static_cast<std::size_t>(world.width()) * 4 * static_cast<std::size_t>(world.bytes_per_channel());
    const auto* first = static_cast<const std::byte*>(static_cast<const void*>(world.world().data));
    for (A_long y = 0; y < world.height(); ++y) {
        const std::byte* row = first + static_cast<std::ptrdiff_t>(y) * world.world().rowbytes;
        for (std::size_t b = 0; b < row_bytes; ++b) {
            hash = (hash ^ static_cast<std::uint64_t>(row[b])) * 0x100000001b3u;
        }
    }
    return hash;
}

struct Shot {
    A_long width;
    A_long height;
    int bytes_per_channel;
    int downsample;
    A_long frame;
};

// clang-format off
constexpr Shot shots[] = {
    {97, 61, 1, 1, 0}, {97, 61, 1, 1, 1}, {97, 61, 2, 1, 1}, {97, 61, 4, 1, 1},
    {211, 37, 4, 1, 2}, {202, 150, 1, 2, 3},
};
// clang-format on

}  // namespace

int main()
{
    try {
        std::printf("# path %s\n", std::string(kyrox::simd::simd_path_name(kyrox::simd::widest_path())).c_str());
        for (const kyrox::presets::PresetRow& preset : kyrox::presets::preset_rows) {
            for (const Shot& shot : shots) {
                minihost::SessionSettings settings;
                settings.width = shot.width;
                settings.height = shot.height;
                settings.bytes_per_channel = shot.bytes_per_channel;
                settings.downsample = shot.downsample;
                settings.preset = preset.name;
                settings.frame_count = 4;
                minihost::FrameSession session(&kyrox::plugin_entry, settings);
                if (session.render(shot.frame) != PF_Err_NONE) {
                    std::fprintf(stderr, "%s: frame %d failed\n", preset.name, static_cast<int>(shot.frame));
                    return 1;
                }
                std::printf("%s %dx%d depth %d downsample %d frame %d: %016llx\n", preset.name,
                            static_cast<int>(shot.width), static_cast<int>(shot.height), shot.bytes_per_channel * 8,
                            shot.downsample, static_cast<int>(shot.frame),
                            static_cast<unsigned long long>(digest(session.output())));
            }
        }
    } catch (const std::exception& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }
    return 0;
}
