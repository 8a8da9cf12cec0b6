#include "hostapi/pf_entry.h"
#include "plugin/platform/crash_guard.h"
#include "plugin/host/command_dispatch.h"

#if defined(_WIN32)
#define KYROX_EXPORT __declspec(dllexport)
#else
#define KYROX_EXPORT __attribute__((visibility("default")))
#endif

// The plug-in's only export. Everything below it runs under the crash guard; a fault or an
// exception that reaches the guard ends the command with PF_Err_INTERNAL_STRUCT_DAMAGED.
extern "C" KYROX_EXPORT PF_Err PluginMain(PF_Cmd cmd, PF_InData* in_data, PF_OutData* out_data, PF_ParamDef* params[],
                                          PF_LayerDef* output, void* extra)
{
    PF_Err result = PF_Err_NONE;
    auto body = [&] { result = kyrox::plugin_entry(cmd, in_data, out_data, params, output, extra); };
    if (!kyrox::run_guarded(body)) {
        return PF_Err_INTERNAL_STRUCT_DAMAGED;
    }
    return result;
}
