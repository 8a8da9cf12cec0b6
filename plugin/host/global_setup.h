#pragma once

#include "plugin/host/ae_plugin_connection.h"

namespace kyrox {

// Version and flag words the effect reports to the host; the effect description resource carries
// the same values.
inline constexpr A_u_long effect_version = 0x80027;  // 1.0, stage 0, build 39
inline constexpr PF_OutFlags effect_out_flags = PF_OutFlag_NON_PARAM_VARY | PF_OutFlag_I_EXPAND_BUFFER |
                                                PF_OutFlag_PIX_INDEPENDENT | PF_OutFlag_I_USE_SHUTTER_ANGLE |
                                                PF_OutFlag_DEEP_COLOR_AWARE;
inline constexpr PF_OutFlags2 effect_out_flags2 =
    PF_OutFlag2_SUPPORTS_QUERY_DYNAMIC_FLAGS | PF_OutFlag2_PARAM_GROUP_START_COLLAPSED_FLAG |
    PF_OutFlag2_REVEALS_ZERO_ALPHA | PF_OutFlag2_SUPPORTS_SMART_RENDER | PF_OutFlag2_FLOAT_COLOR_AWARE |
    PF_OutFlag2_DEPENDS_ON_UNREFERENCED_MASKS;

// Reports version and flags, writes the start-up banner, registers with the host and asks for the
// main window and whether the host runs without UI.
void global_setup(AePluginConnection& instance, CommandContext& context);

}  // namespace kyrox
