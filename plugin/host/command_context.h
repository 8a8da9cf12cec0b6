#pragma once

#include "hostapi/pf_effect_world.h"
#include "hostapi/pf_in_out_data.h"
#include "hostapi/pf_param_def.h"

namespace kyrox {

// One host command as the instance's operations see it. Operations report failure only by writing
// error, which the dispatcher returns to the host.
struct CommandContext {
    PF_InData* in_data = nullptr;
    PF_OutData* out_data = nullptr;
    PF_EffectWorld* input_world = nullptr;   // checked out by the smart-render entry
    PF_EffectWorld* output_world = nullptr;  // likewise
    PF_ParamDef** params = nullptr;
    void* extra = nullptr;  // smart pre-render or smart render extra, else whatever the host passed
    PF_Err error = PF_Err_NONE;
};

}  // namespace kyrox
