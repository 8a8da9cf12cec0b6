#pragma once

#include "hostapi/pf_entry.h"

namespace kyrox {

// The body of the exported entry point: creates the instance at global set-up, dispatches every
// command to it and deletes it at global set-down. Returns the host error code of the command.
PF_Err plugin_entry(PF_Cmd cmd, PF_InData* in_data, PF_OutData* out_data, PF_ParamDef* params[],
                    PF_LayerDef* output, void* extra);

}  // namespace kyrox
