#pragma once

#include "hostapi/effect_api.h"

namespace minihost {

// Fills the host's callback records and basic suite with functions that forward to Host::current().
void install_callbacks(PF_InData& in_data, PF_UtilCallbacks& utils, SPBasicSuite& basic,
                       PF_PreRenderCallbacks& pre_render, PF_SmartRenderCallbacks& smart_render);

// The utility and application suites of global set-up, forwarding to Host::current().
AEGP_UtilitySuite forwarding_utility_suite();
PFAppSuite forwarding_app_suite();

}  // namespace minihost
