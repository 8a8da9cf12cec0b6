#pragma once

#include <cstdint>

#include "hostapi/aegp_types.h"
#include "plugin/host/command_context.h"
#include "plugin/host/suite_handler.h"

namespace kyrox {

// What one parameter-UI update shares between its show and hide calls.
struct VisibilityContext {
    suite_handler& suites;
    AEGP_PluginID plugin_id;
    AEGP_EffectRefH effect;  // for the stream-based path
    CommandContext& command;
};

// Hides or shows a parameter in the host's UI; its value stays and is still read. Uses the param
// utils suite when the host has it, else the parameter's dynamic stream flag.
void set_param_hidden(VisibilityContext& context, std::int16_t id, bool hide);

}  // namespace kyrox
