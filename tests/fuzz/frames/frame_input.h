#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "hostapi/effect_api.h"

namespace kyrox::fuzz {

// What one frame input gave.
struct FrameOutcome {
    PF_Err error = PF_Err_NONE;
    bool finite = true;  // every float channel finite
    std::uint64_t digest = 0;
};

// Decodes a fuzz input into a frame (size 1..96 each way, depth, downsampling, time, the input layer's
// colour, the composition's motion-blur switches, masks, the text layer) and a value for every
// parameter of the effect's table, then renders it in the process's fuzz host. The same bytes render
// the same frame in every process: both sides of the path comparison call this.
FrameOutcome render_frame_input(std::span<const std::uint8_t> data);

// The frame and every parameter that differs from its default, for a report.
std::string describe_frame_input(std::span<const std::uint8_t> data);

}  // namespace kyrox::fuzz
