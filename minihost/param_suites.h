#pragma once

#include "hostapi/effect_api.h"

namespace minihost {

// Suite tables with the parameter functions filled in over the given (trapped) tables: effect
// handles, parameter streams and their flags, and parameter UI updates.
AEGP_PFInterfaceSuite with_effect_handles(AEGP_PFInterfaceSuite suite);
AEGP_EffectSuite with_effect_disposal(AEGP_EffectSuite suite);
PF_ParamUtilsSuite with_param_ui_updates(PF_ParamUtilsSuite suite);
AEGP_StreamSuite with_effect_streams(AEGP_StreamSuite suite);
AEGP_DynamicStreamSuite with_stream_flags(AEGP_DynamicStreamSuite suite);

}  // namespace minihost
