#include "minihost/host_callbacks.h"

#include <cstring>

#include "minihost/command_scope.h"
#include "minihost/suite_traps.h"

namespace minihost {

namespace {

HostFunctions& host_of(PF_ProgPtr effect_ref)
{
    return current_command_for(effect_ref, "a host callback with a foreign effect reference").functions;
}

HostFunctions& current_host()
{
    return current_command().functions;
}

PF_Err checkout_param(PF_ProgPtr effect_ref, PF_ParamIndex index, A_long what_time, A_long time_step,
                      A_u_long time_scale, PF_ParamDef* param)
{
    return host_of(effect_ref).checkout_param(index, what_time, time_step, time_scale, *param);
}

PF_Err checkin_param(PF_ProgPtr effect_ref, PF_ParamDef* param)
{
    return host_of(effect_ref).checkin_param(*param);
}

PF_Err add_param(PF_ProgPtr effect_ref, PF_ParamIndex index, PF_ParamDefPtr def)
{
    return host_of(effect_ref).add_param(index, *def);
}

PF_Handle new_handle(A_u_longlong size)
{
    return current_host().new_handle(size);
}

void dispose_handle(PF_Handle handle)
{
    current_host().dispose_handle(handle);
}

PF_Err get_platform_data(PF_ProgPtr effect_ref, PF_PlatDataID which, void* data)
{
    return host_of(effect_ref).platform_data(which, data);
}

A_char* string_copy(A_char* dest, const A_char* src)
{
    current_command().log.calls.emplace_back("strcpy");
    return std::strcpy(dest, src);
}

SPErr acquire_suite(const char* name, A_long version, const void** suite)
{
    return current_host().acquire_suite(name, version, suite);
}

SPErr release_suite(const char* name, A_long version)
{
    return current_host().release_suite(name, version);
}

PF_Err checkout_layer(PF_ProgPtr effect_ref, PF_ParamIndex index, A_long checkout_id, const PF_RenderRequest* req,
                      A_long what_time, A_long time_step, A_u_long time_scale, PF_CheckoutResult* result)
{
    return host_of(effect_ref).checkout_layer(index, checkout_id, *req, what_time, time_step, time_scale, *result);
}

PF_Err checkout_layer_pixels(PF_ProgPtr effect_ref, A_long checkout_id, PF_EffectWorld** pixels)
{
    return host_of(effect_ref).checkout_layer_pixels(checkout_id, *pixels);
}

PF_Err checkin_layer_pixels(PF_ProgPtr effect_ref, A_long checkout_id)
{
    return host_of(effect_ref).checkin_layer_pixels(checkout_id);
}

PF_Err checkout_output(PF_ProgPtr effect_ref, PF_EffectWorld** output)
{
    return host_of(effect_ref).checkout_output(*output);
}

A_Err register_with_aegp(AEGP_GlobalRefcon, const A_char* name, AEGP_PluginID* plugin_id)
{
    return current_host().register_plugin(name, *plugin_id);
}

PF_Err is_render_engine(PF_Boolean* render_engine)
{
    return current_host().is_render_engine(*render_engine);
}

}  // namespace

void install_callbacks(PF_InData& in_data, PF_UtilCallbacks& utils, SPBasicSuite& basic,
                       PF_PreRenderCallbacks& pre_render, PF_SmartRenderCallbacks& smart_render)
{
    in_data.inter.checkout_param = &checkout_param;
    in_data.inter.checkin_param = &checkin_param;
    in_data.inter.add_param = &add_param;
    utils.host_new_handle = &new_handle;
    utils.host_dispose_handle = &dispose_handle;
    utils.get_platform_data = &get_platform_data;
    utils.ansi.strcpy = &string_copy;
    in_data.utils = &utils;
    basic.AcquireSuite = &acquire_suite;
    basic.ReleaseSuite = &release_suite;
    in_data.pica_basicP = &basic;
    pre_render.checkout_layer = &checkout_layer;
    smart_render.checkout_layer_pixels = &checkout_layer_pixels;
    smart_render.checkin_layer_pixels = &checkin_layer_pixels;
    smart_render.checkout_output = &checkout_output;
}

AEGP_UtilitySuite forwarding_utility_suite()
{
    AEGP_UtilitySuite suite = trapped_utility_suite();
    suite.AEGP_RegisterWithAEGP = &register_with_aegp;
    return suite;
}

PFAppSuite forwarding_app_suite()
{
    PFAppSuite suite = trapped_app_suite();
    suite.PF_IsRenderEngine = &is_render_engine;
    return suite;
}

}  // namespace minihost
