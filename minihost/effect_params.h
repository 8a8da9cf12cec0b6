#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "minihost/host.h"

namespace minihost {

// Whether the effect registered a parameter with that ID.
bool has_param(Host& host, A_long id);

// The parameter with an ID in the host's array; a host fault when there is none.
PF_ParamDef& param_by_id(Host& host, A_long id);

// Chooses a preset the way a user does: sets the Preset popup to the item with that name, then
// sends the user-changed-parameter command for it. False when the popup has no such item.
bool choose_preset(Host& host, std::string_view name, PF_Err& error);

// The built-in presets in Preset popup order: the popup's items after its first, "Select", which
// applies nothing.
std::vector<std::string> preset_names(Host& host);

}  // namespace minihost
