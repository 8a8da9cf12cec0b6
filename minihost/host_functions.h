#pragma once

#include "hostapi/effect_api.h"

namespace minihost {

// The host functions the plug-in reaches through its callback records and the basic suite, as the
// host implements them; the callbacks forward here and know no more of the host.
class HostFunctions {
public:
    virtual SPErr acquire_suite(const char* name, A_long version, const void** suite) = 0;
    virtual SPErr release_suite(const char* name, A_long version) = 0;
    virtual PF_Err add_param(PF_ParamIndex index, const PF_ParamDef& def) = 0;
    virtual PF_Err checkout_param(PF_ParamIndex index, A_long what_time, A_long time_step, A_u_long time_scale,
                                  PF_ParamDef& param) = 0;
    virtual PF_Err checkin_param(PF_ParamDef& param) = 0;
    virtual PF_Handle new_handle(A_u_longlong size) = 0;
    virtual void dispose_handle(PF_Handle handle) = 0;
    virtual PF_Err platform_data(PF_PlatDataID which, void* data) = 0;
    virtual PF_Err checkout_layer(PF_ParamIndex index, A_long checkout_id, const PF_RenderRequest& request,
                                  A_long what_time, A_long time_step, A_u_long time_scale,
                                  PF_CheckoutResult& result) = 0;
    virtual PF_Err checkout_layer_pixels(A_long checkout_id, PF_EffectWorld*& pixels) = 0;
    virtual PF_Err checkin_layer_pixels(A_long checkout_id) = 0;
    virtual PF_Err checkout_output(PF_EffectWorld*& output) = 0;
    virtual A_Err register_plugin(const char* name, AEGP_PluginID& plugin_id) = 0;
    virtual PF_Err is_render_engine(PF_Boolean& render_engine) = 0;

protected:
    ~HostFunctions() = default;  // never deleted through this interface
};

}  // namespace minihost
