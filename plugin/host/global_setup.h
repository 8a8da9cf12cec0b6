#pragma once

#include "plugin/host/ae_plugin_connection.h"
#include "plugin/host/effect_version.h"

namespace kyrox {

// Version and flag words the effect reports to the host; the effect description resource carries
// the same values.
inline constexpr A_u_long effect_version = KYROX_EFFECT_VERSION;
inline constexpr PF_OutFlags effect_out_flags = KYROX_OUT_FLAGS;
inline constexpr PF_OutFlags2 effect_out_flags2 = KYROX_OUT_FLAGS2;

// Reports version and flags, writes the start-up banner, registers with the host and asks for the
// main window and whether the host runs without UI.
void global_setup(AePluginConnection& instance, CommandContext& context);

}  // namespace kyrox
