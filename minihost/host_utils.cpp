#include "minihost/host.h"

#include "minihost/suite_traps.h"

namespace minihost {

PF_Handle Host::new_handle(A_u_longlong size)
{
    log_.calls.emplace_back("host_new_handle");
    auto block = std::make_unique<HandleBlock>();
    block->bytes.assign((size + 7) / 8 + 1, 0);  // zero-filled, never empty
    block->master = block->bytes.data();
    PF_Handle handle = &block->master;
    handles_.emplace(handle, std::move(block));
    return handle;
}

void Host::dispose_handle(PF_Handle handle)
{
    log_.calls.emplace_back("host_dispose_handle");
    if (handles_.erase(handle) == 0) {
        host_fault("host_dispose_handle of a handle the host did not give out");
    }
}

PF_Err Host::platform_data(PF_PlatDataID which, void* data)
{
    log_.calls.emplace_back("get_platform_data");
    if (which != PF_PlatData_MAIN_WND) {
        return PF_Err_BAD_CALLBACK_PARAM;
    }
    *static_cast<void**>(data) = settings_.main_window;
    return PF_Err_NONE;
}

A_Err Host::register_plugin(const char* name, AEGP_PluginID& plugin_id)
{
    log_.calls.emplace_back("AEGP_RegisterWithAEGP");
    log_.registrations.emplace_back(name);
    plugin_id = settings_.plugin_id;
    return PF_Err_NONE;
}

PF_Err Host::is_render_engine(PF_Boolean& render_engine)
{
    log_.calls.emplace_back("PF_IsRenderEngine");
    render_engine = settings_.render_engine;
    return PF_Err_NONE;
}

}  // namespace minihost
