#pragma once

#include <cstdint>

#include "hostapi/pf_effect_world.h"
#include "plugin/host/world_view.h"

namespace kyrox {

// The renderer's description of a checked-out host buffer; the host keeps owning the pixels.
inline WorldView describe_host_world(const PF_EffectWorld& world, std::uint8_t bytes_per_channel) noexcept
{
    WorldView view;
    view.row_bytes = world.rowbytes;
    view.bytes_per_channel = bytes_per_channel;
    view.origin_x = world.origin_x;
    view.origin_y = world.origin_y;
    view.width = world.width;
    view.height = world.height;
    view.data = world.data;
    return view;
}

}  // namespace kyrox
