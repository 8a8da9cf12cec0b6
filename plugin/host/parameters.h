#pragma once

// The effect's parameters in the host: registration from the table, the index of each ID, the popup
// texts the host keeps, and which parameters the UI shows.

#include <cstdint>
#include <string_view>

#include "hostapi/aegp_types.h"
#include "hostapi/pf_param_def.h"
#include "plugin/host/command_context.h"
#include "plugin/host/suite_handler.h"

namespace kyrox {

// Host parameter index of each parameter ID, filled by parameter set-up. IDs never registered map
// to 0, the effect's input layer.
PF_ParamIndex param_index_of(std::int32_t id) noexcept;

// The item texts of popups, kept for the host, which holds on to the pointers it is given. The list
// lives until unload and is never trimmed.

// Makes room for 200 texts when the list has room for fewer.
void reserve_popup_item_strings();

// Registers the effect's parameters in table order; the ID table is written anew each time.
void register_params(CommandContext& context);

// Adding parameters to the host during parameter set-up. Each add appends one parameter record and
// stores its host index (the output record's running count) under its ID.
void add_float_param(CommandContext& context, std::int32_t id, const char* name, float valid_min, float valid_max,
                     float default_value, std::int16_t precision, float slider_fraction, bool percent);
void add_popup_param(CommandContext& context, std::int32_t id, const char* name, std::string_view items,
                     std::int32_t default_item, bool supervise);
void add_angle_param(CommandContext& context, std::int32_t id, const char* name);
void add_checkbox_param(CommandContext& context, std::int32_t id, const char* name, bool default_on);
void add_group_start(CommandContext& context, std::int32_t id, const char* name, bool starts_collapsed);
void add_group_end(CommandContext& context, std::int32_t id);

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

// Shows and hides the parameters that matter only for some core types; plugin_id is the effect's registration.
void update_param_visibility(CommandContext& context, AEGP_PluginID plugin_id);

}  // namespace kyrox
