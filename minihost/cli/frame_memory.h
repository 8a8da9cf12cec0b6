#pragma once

#include <cstdint>
#include <string>

#include "hostapi/pf_basic_types.h"

namespace minihost {

// About how much memory one frame takes: the host's input and output buffers at the frame's depth
// and the effect's working planes (six float planes and the Gaussian's two buffers of double pairs).
std::uint64_t frame_memory_bytes(A_long width, A_long height, int bytes_per_channel) noexcept;

// "a 32768 x 32768 32-bit frame needs about 88.0 GiB of memory".
std::string frame_memory_text(A_long width, A_long height, int bytes_per_channel);

// Throws std::runtime_error, with frame_memory_text and the machine's memory, when the frame needs more
// memory than the machine has: such a frame would fail, or swap for hours, part way through.
void check_frame_fits(A_long width, A_long height, int bytes_per_channel);

}  // namespace minihost
