#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace minihost {

// One row of host pixels (alpha, red, green, blue) as the samples of an RGBA PNG row (red, green, blue,
// alpha). `file_row` holds as many samples as `host_row`.

// 8-bit samples keep their value.
void png8_row(std::span<const std::byte> host_row, std::span<std::uint8_t> file_row);

// 16-bit host samples run to 32768; they become big-endian PNG samples to 65535, rounded as the host's
// own float view of them (value / 32768) scaled by 65535 rounds. Values above 32768 are full scale.
void png16_row(std::span<const std::byte> host_row, std::span<std::uint8_t> file_row);

}  // namespace minihost
