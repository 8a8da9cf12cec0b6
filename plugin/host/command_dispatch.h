#pragma once

#include "hostapi/pf_entry.h"
#include "plugin/host/ae_plugin_connection.h"

namespace kyrox {

// Turns one host command into a call of the instance's operation for it and returns the error the
// operation wrote. Commands the effect does not answer return no error and touch nothing.
PF_Err handle_command(AePluginConnection& instance, PF_Cmd cmd, PF_InData* in_data, PF_OutData* out_data,
                      PF_ParamDef* params[], void* extra);

}  // namespace kyrox
