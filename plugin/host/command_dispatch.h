#pragma once

// The entry point's body, the dispatch of host commands and the commands that set the effect up:
// global set-up and the About text.

#include <string>

#include "hostapi/pf_entry.h"
#include "plugin/host/ae_plugin_connection.h"
#include "plugin/host/command_context.h"
#include "plugin/resources/effect_version.h"

namespace kyrox {

// Name and version of the effect as it shows them to the host and the user.
inline constexpr const char* effect_name = "Kyrox";
inline constexpr int version_major = KYROX_VERSION_MAJOR;
inline constexpr int version_minor = KYROX_VERSION_MINOR;
inline constexpr int version_build = KYROX_VERSION_BUILD;

// The body of the exported entry point: creates the instance at global set-up, dispatches every
// command to it and deletes it at global set-down. Returns the host error code of the command.
PF_Err plugin_entry(PF_Cmd cmd, PF_InData* in_data, PF_OutData* out_data, PF_ParamDef* params[], PF_LayerDef* output,
                    void* extra);

// Turns one host command into a call of the instance's operation for it and returns the error the
// operation wrote. Commands the effect does not answer return no error and touch nothing.
PF_Err handle_command(AePluginConnection& instance, PF_Cmd cmd, PF_InData* in_data, PF_OutData* out_data,
                      PF_ParamDef* params[], void* extra);

// Version and flag words the effect reports to the host; the effect description resource carries
// the same values.
inline constexpr A_u_long effect_version = KYROX_EFFECT_VERSION;
inline constexpr PF_OutFlags effect_out_flags = KYROX_OUT_FLAGS;
inline constexpr PF_OutFlags2 effect_out_flags2 = KYROX_OUT_FLAGS2;

// Reports version and flags, writes the start-up banner, registers with the host and asks for the
// main window and whether the host runs without UI.
void global_setup(AePluginConnection& instance, CommandContext& context);

// "v1.0.39".
std::string version_text();

// Appends the About text (name, version, web address, rights) to the host's return message.
void about_text(CommandContext& context);

}  // namespace kyrox
