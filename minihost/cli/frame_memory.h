#pragma once

#include <cstddef>
#include <string>

#include "hostapi/pf_basic_types.h"

namespace minihost {

// Frames rendered and not yet written: with this many waiting, the renderer waits for the file
// writer. The memory estimate counts the writer's frame copies from it.
inline constexpr std::size_t frames_waiting_to_be_written = 2;

// "a 32768 x 32768 32-bit frame needs about 154.0 GiB of memory".
std::string frame_memory_text(A_long width, A_long height, int bytes_per_channel);

// Throws std::runtime_error, with frame_memory_text and the machine's memory, when the frame needs more
// memory than the machine has: such a frame would fail, or swap for hours, part way through.
void check_frame_fits(A_long width, A_long height, int bytes_per_channel);

}  // namespace minihost
