#pragma once

// The entry point's body, the dispatch of host commands and the commands that set the effect up:
// global set-up and the About text.

#include <string>

#include "hostapi/pf_entry.h"
#include "plugin/host/ae_plugin_connection.h"
#include "plugin/host/command_context.h"

namespace kyrox {

// The body of the exported entry point: creates the instance at global set-up, dispatches every
// command to it and deletes it at global set-down. Returns the host error code of the command.
PF_Err plugin_entry(PF_Cmd cmd, PF_InData* in_data, PF_OutData* out_data, PF_ParamDef* params[], PF_LayerDef* output,
                    void* extra);

// Turns one host command into a call of the instance's operation for it and returns the error the
// operation wrote. Commands the effect does not answer return no error and touch nothing.
PF_Err handle_command(AePluginConnection& instance, PF_Cmd cmd, PF_InData* in_data, PF_OutData* out_data,
                      PF_ParamDef* params[], void* extra);

// Reports version and flags, writes the start-up banner, registers with the host and asks for the
// main window and whether the host runs without UI.
void global_setup(AePluginConnection& instance, CommandContext& context);

// "v1.0.39".
std::string version_text();

// Appends the About text (name, version, web address, rights) to the host's return message.
void about_text(CommandContext& context);

}  // namespace kyrox
