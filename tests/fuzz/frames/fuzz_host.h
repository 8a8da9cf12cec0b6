#pragma once

#include <cstdint>
#include <vector>

#include "minihost/host.h"

namespace kyrox::fuzz {

// The frame a fuzz input renders: the downsampled size the host hands over, the depth and the factor.
struct FrameShape {
    A_long width = 16;
    A_long height = 16;
    int bytes_per_channel = 1;
    int downsample = 1;
};

// A point parameter's value: 16.16 fixed pixels.
struct FixedPoint {
    PF_Fixed x = 0;
    PF_Fixed y = 0;
};

// The plug-in linked in and brought up once in the small host (global and parameter set-up cost more
// than a small frame). reset() returns the host to the state after parameter set-up before each input,
// so that an input's frame depends on that input alone.
class FuzzHost {
public:
    FuzzHost();
    ~FuzzHost();
    FuzzHost(const FuzzHost&) = delete;
    FuzzHost& operator=(const FuzzHost&) = delete;

    minihost::Host& host() noexcept { return host_; }
    PF_ParamDef& param(A_long id);
    // The parameter's record as parameter set-up left it.
    const PF_ParamDef& default_param(A_long id);
    minihost::CompLayer& text_layer() noexcept { return *text_layer_; }

    // Parameter defaults, both points keyed to their defaults at times 0 and 1, no masks, the text layer
    // unchosen, the host's records and composition switches as the host starts them.
    void reset();
    // Keys a point parameter (16.16 fixed pixels) at times 0 and 1, the two ends of a frame's shutter.
    void key_point(A_long id, FixedPoint opening, FixedPoint closing);
    // Makes the text layer's pixels of this size and the frame's depth and chooses it in the Text Layer
    // parameter.
    void choose_text_layer(A_long width, A_long height, int bytes_per_channel);

    // Pre-render and smart render of one frame at the current time, over an input layer of the given
    // colour (0..1 each).
    PF_Err render(const FrameShape& shape, const float (&input_argb)[4]);
    // Every float channel of the output is finite (the integer depths hold their range by construction).
    bool output_finite();
    // 64-bit FNV-1a over the output's pixel bytes, row by row.
    std::uint64_t output_digest();

private:
    minihost::Host host_;
    std::vector<PF_ParamDef> defaults_;
    PF_InData in_defaults_{};
    minihost::CompLayer* text_layer_ = nullptr;
};

// The process's one host.
FuzzHost& fuzz_host();

}  // namespace kyrox::fuzz
