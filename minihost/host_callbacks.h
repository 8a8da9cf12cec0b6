#pragma once

#include "hostapi/effect_api.h"

namespace minihost {

// Fills the host's callback records and basic suite with functions that forward to the host functions of
// the running command.
void install_callbacks(PF_InData& in_data, PF_UtilCallbacks& utils, SPBasicSuite& basic,
                       PF_PreRenderCallbacks& pre_render, PF_SmartRenderCallbacks& smart_render);

// The utility and application suites of global set-up, forwarding the same way.
AEGP_UtilitySuite forwarding_utility_suite();
PFAppSuite forwarding_app_suite();

}  // namespace minihost
