#pragma once

// The estimate behind the memory check, which the renderer reaches only through check_frame_fits and
// frame_memory_text; the tests hold it against known sizes and a real run.

#include <cstdint>

#include "hostapi/pf_basic_types.h"

namespace minihost {

// What a run holds at its peak for frames of this size: the host's input and output buffers; the
// effect's kept planes and buffers (six float planes, the distortion's noise, the Gaussian's two
// buffers of double pairs, the box blur's image and table); the file writer's copies of frames and,
// for float frames, OpenEXR's half-float copy of the one being written.
std::uint64_t frame_memory_bytes(A_long width, A_long height, int bytes_per_channel) noexcept;

}  // namespace minihost
