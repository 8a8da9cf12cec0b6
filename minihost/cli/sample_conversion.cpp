#include "minihost/cli/sample_conversion.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstring>

namespace minihost {
namespace {

constexpr std::uint16_t host_full_scale = 32768;

// The float rounding of value / 32768 * 65535 differs from exact integer rounding for some values, so
// each of the 32769 in-range values is looked up in a table made with the float formula. The table holds
// each sample as its big-endian bytes read as a native word, ready to be stored.
std::array<std::uint16_t, host_full_scale + 1> make_png16_samples()
{
    static_assert(std::endian::native == std::endian::little);
    std::array<std::uint16_t, host_full_scale + 1> samples{};
    for (std::size_t v = 0; v < samples.size(); ++v) {
        const float unit = static_cast<float>(v) / static_cast<float>(host_full_scale);
        const auto sample = static_cast<std::uint16_t>(std::lround(unit * 65535.0f));
        samples[v] = static_cast<std::uint16_t>(sample >> 8 | sample << 8);
    }
    return samples;
}

}  // namespace

void png8_row(std::span<const std::byte> host_row, std::span<std::uint8_t> file_row)
{
    // A pixel read as one little-endian word holds A, R, G, B from its low byte up; rotating it by a
    // byte puts alpha last. The compiler turns the loop into vector shifts.
    static_assert(std::endian::native == std::endian::little);
    const std::size_t pixels = std::min(host_row.size(), file_row.size()) / 4;
    for (std::size_t i = 0; i < pixels; ++i) {
        std::uint32_t argb = 0;
        std::memcpy(&argb, host_row.data() + i * 4, 4);
        const std::uint32_t rgba = std::rotr(argb, 8);
        std::memcpy(file_row.data() + i * 4, &rgba, 4);
    }
}

void png16_row(std::span<const std::byte> host_row, std::span<std::uint8_t> file_row)
{
    static const std::array<std::uint16_t, host_full_scale + 1> samples = make_png16_samples();
    const std::size_t pixels = std::min(host_row.size(), file_row.size()) / 8;
    for (std::size_t i = 0; i < pixels; ++i) {
        std::uint16_t argb[4];
        std::memcpy(argb, host_row.data() + i * 8, sizeof argb);
        const std::uint16_t rgba[4] = {
            samples[std::min(argb[1], host_full_scale)], samples[std::min(argb[2], host_full_scale)],
            samples[std::min(argb[3], host_full_scale)], samples[std::min(argb[0], host_full_scale)]};
        std::memcpy(file_row.data() + i * 8, rgba, sizeof rgba);
    }
}

}  // namespace minihost
