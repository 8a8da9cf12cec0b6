#include "plugin/host/plugin_entry.h"

#include <memory>

#include "hostapi/pf_commands.h"
#include "plugin/host/ae_plugin_connection.h"
#include "plugin/host/command_dispatch.h"

namespace kyrox {

namespace {

// The host keeps an 8-byte handle as the plug-in's global data; its block holds the instance pointer.
AePluginConnection** instance_slot(PF_Handle handle) noexcept
{
    return handle != nullptr ? static_cast<AePluginConnection**>(*handle) : nullptr;
}

AePluginConnection* instance_in(PF_Handle handle) noexcept
{
    AePluginConnection** slot = instance_slot(handle);
    return slot != nullptr ? *slot : nullptr;
}

PF_Err create_instance(PF_InData* in_data, PF_OutData* out_data)
{
    if (in_data->utils == nullptr) {
        return PF_Err_INVALID_CALLBACK;
    }
    PF_Handle handle = in_data->utils->host_new_handle(sizeof(AePluginConnection*));
    in_data->global_data = handle;
    out_data->global_data = handle;
    AePluginConnection** slot = instance_slot(handle);
    if (slot == nullptr) {
        return PF_Err_OUT_OF_MEMORY;
    }
    *slot = nullptr;
    auto instance = std::make_unique<AePluginConnection>();
    *slot = instance.release();
    return PF_Err_NONE;
}

void dispose_instance(PF_InData* in_data, PF_OutData* out_data) noexcept
{
    PF_Handle handle = in_data->global_data;
    delete instance_in(handle);
    if (handle != nullptr && in_data->utils != nullptr) {
        in_data->utils->host_dispose_handle(handle);
    }
    in_data->global_data = nullptr;
    out_data->global_data = nullptr;
}

}  // namespace

PF_Err plugin_entry(PF_Cmd cmd, PF_InData* in_data, PF_OutData* out_data, PF_ParamDef* params[],
                    PF_LayerDef* /*output: the effect renders only through smart render*/, void* extra)
{
    if (in_data == nullptr || out_data == nullptr) {
        return PF_Err_BAD_CALLBACK_PARAM;
    }
    if (cmd == PF_Cmd_GLOBAL_SETUP) {
        if (const PF_Err err = create_instance(in_data, out_data); err != PF_Err_NONE) {
            return err;
        }
    }
    AePluginConnection* instance = instance_in(in_data->global_data);
    PF_Err result = PF_Err_NONE;
    if (instance != nullptr) {
        result = handle_command(*instance, cmd, in_data, out_data, params, extra);
    } else if (cmd != PF_Cmd_GLOBAL_SETDOWN) {
        // Without its instance the effect can answer nothing; tell the host instead of faulting.
        result = PF_Err_INTERNAL_STRUCT_DAMAGED;
    }
    if (cmd == PF_Cmd_GLOBAL_SETDOWN) {
        dispose_instance(in_data, out_data);
    }
    return result;
}

}  // namespace kyrox
