#pragma once

#include <string>
#include <vector>

#include "minihost/global_setup.h"
#include "minihost/host.h"

namespace minihost {

// The blade the built-in demo draws: a straight core whose end swings across the frame. Positions
// are fractions of the full-resolution frame.
struct BladeMotion {
    double start_x = 0.2, start_y = 0.78;
    double first_end_x = 0.55, first_end_y = 0.18;
    double last_end_x = 0.85, last_end_y = 0.35;
};

// What a sequence is rendered with.
struct SessionSettings {
    A_long width = 640;  // full-resolution frame size
    A_long height = 360;
    int bytes_per_channel = 1;
    int downsample = 1;  // 2 renders at half resolution
    std::string preset = "Default";
    A_long frame_count = 1;  // the blade moves from its first to its last end over these frames
    BladeMotion blade;
};

// A plug-in brought up in the small host for a sequence of frames: global and parameter set-up,
// the preset applied and the blade keyed. Sets the plug-in down when it goes. Throws UnknownPreset
// for a preset name the effect does not offer.
class FrameSession {
public:
    FrameSession(PF_EntryPointFunc entry, const SessionSettings& settings);
    FrameSession(const FrameSession&) = delete;
    FrameSession& operator=(const FrameSession&) = delete;

    // Renders frame `frame` (at 24 frames a second) into the host's output. The host's call log is
    // cleared first, so that it holds this frame's calls.
    PF_Err render(A_long frame);

    Host& host() noexcept { return host_; }
    const HostWorld& output() noexcept { return host_.output(); }
    A_long frame_width() const noexcept { return width_; }
    A_long frame_height() const noexcept { return height_; }

private:
    // Parameter set-up, the preset and the blade.
    void prepare(const SessionSettings& settings);

    Host host_;
    GlobalSetup setup_;  // after the host: set down before it goes
    A_short bitdepth_;
    A_long width_;
    A_long height_;
};

}  // namespace minihost
