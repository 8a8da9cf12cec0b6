#pragma once

// The signature of the plug-in's one exported entry point.
#include "hostapi/pf_in_out_data.h"
#include "hostapi/pf_param_def.h"

using PF_EntryPointFunc = PF_Err (*)(PF_Cmd cmd, PF_InData* in_data, PF_OutData* out_data, PF_ParamDef* params[],
                                     PF_LayerDef* output, void* extra);
