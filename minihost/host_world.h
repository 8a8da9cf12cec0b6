#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "hostapi/pf_effect_world.h"

namespace minihost {

// A pixel buffer the host owns and lends to the plug-in: 8-bit, 16-bit or float channels, alpha first.
class HostWorld {
public:
    HostWorld() : HostWorld(0, 0, 1) {}
    // row_padding adds bytes to every row so that readers must honour rowbytes.
    HostWorld(A_long width, A_long height, int bytes_per_channel, A_long row_padding = 0);

    PF_EffectWorld& world() noexcept { return world_; }
    const PF_EffectWorld& world() const noexcept { return world_; }
    int bytes_per_channel() const noexcept { return bytes_per_channel_; }
    A_long width() const noexcept { return world_.width; }
    A_long height() const noexcept { return world_.height; }
    void set_origin(A_long x, A_long y) noexcept;

    // Channel c (0 alpha, 1 red, 2 green, 3 blue) of pixel (x, y) in 0..1.
    float channel(A_long x, A_long y, int c) const;
    void set_channel(A_long x, A_long y, int c, float value);
    void fill(float alpha, float red, float green, float blue);

private:
    std::byte* pixel(A_long x, A_long y, int c);
    const std::byte* pixel(A_long x, A_long y, int c) const;

    int bytes_per_channel_;
    std::vector<std::uint64_t> storage_;  // 8-byte aligned rows
    PF_EffectWorld world_{};
};

// Full-scale channel value of a depth: 255, 32768 or 1.0.
float full_scale(int bytes_per_channel) noexcept;

}  // namespace minihost
