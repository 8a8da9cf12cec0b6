#include "minihost/param_suites.h"

#include "minihost/command_scope.h"
#include "minihost/suite_traps.h"

namespace minihost {

namespace {

const CommandScope& scope_of(PF_ProgPtr effect_ref)
{
    return current_command_for(effect_ref, "a parameter call with a foreign effect reference");
}

A_Err get_new_effect_for_effect(AEGP_PluginID plugin_id, PF_ProgPtr effect_ref, AEGP_EffectRefH* effect)
{
    const CommandScope& scope = scope_of(effect_ref);
    check_plugin_id(scope, plugin_id);
    scope.log.calls.emplace_back("AEGP_GetNewEffectForEffect");
    *effect = scope.param_state.new_effect();
    return PF_Err_NONE;
}

A_Err dispose_effect(AEGP_EffectRefH effect)
{
    const CommandScope& scope = current_command();
    scope.log.calls.emplace_back("AEGP_DisposeEffect");
    scope.param_state.dispose_effect(effect);
    return PF_Err_NONE;
}

PF_Err update_param_ui(PF_ProgPtr effect_ref, PF_ParamIndex index, const PF_ParamDef* def)
{
    const CommandScope& scope = scope_of(effect_ref);
    scope.log.calls.emplace_back("PF_UpdateParamUI");
    if (index <= 0 || param_slot(index) >= scope.params.size()) {
        return PF_Err_INVALID_INDEX;
    }
    PF_ParamDef& param = scope.params[param_slot(index)];
    param.flags = def->flags;
    param.ui_flags = def->ui_flags;
    scope.param_state.ui_updates.push_back({index, def->flags, def->ui_flags});
    return PF_Err_NONE;
}

A_Err get_new_effect_stream_by_index(AEGP_PluginID plugin_id, AEGP_EffectRefH effect, PF_ParamIndex index,
                                     AEGP_StreamRefH* stream)
{
    const CommandScope& scope = current_command();
    check_plugin_id(scope, plugin_id);
    scope.log.calls.emplace_back("AEGP_GetNewEffectStreamByIndex");
    if (!scope.param_state.effect_open(effect)) {
        host_fault("a stream of an effect handle the host never gave");
    }
    if (index < 0 || param_slot(index) >= scope.params.size()) {
        *stream = nullptr;
        return PF_Err_INVALID_INDEX;
    }
    *stream = scope.param_state.new_stream(index);
    return PF_Err_NONE;
}

A_Err dispose_stream(AEGP_StreamRefH stream)
{
    const CommandScope& scope = current_command();
    scope.log.calls.emplace_back("AEGP_DisposeStream");
    scope.param_state.dispose_stream(stream);
    return PF_Err_NONE;
}

A_Err set_dynamic_stream_flag(AEGP_StreamRefH stream, AEGP_DynStreamFlags flag, A_Boolean, A_Boolean set)
{
    const CommandScope& scope = current_command();
    scope.log.calls.emplace_back("AEGP_SetDynamicStreamFlag");
    const PF_ParamIndex index = scope.param_state.stream_param(stream);
    if (flag == AEGP_DynStreamFlag_HIDDEN) {
        scope.param_state.set_stream_hidden(index, set != 0);
    }
    return PF_Err_NONE;
}

}  // namespace

AEGP_PFInterfaceSuite with_effect_handles(AEGP_PFInterfaceSuite suite)
{
    suite.AEGP_GetNewEffectForEffect = &get_new_effect_for_effect;
    return suite;
}

AEGP_EffectSuite with_effect_disposal(AEGP_EffectSuite suite)
{
    suite.AEGP_DisposeEffect = &dispose_effect;
    return suite;
}

PF_ParamUtilsSuite with_param_ui_updates(PF_ParamUtilsSuite suite)
{
    suite.PF_UpdateParamUI = &update_param_ui;
    return suite;
}

AEGP_StreamSuite with_effect_streams(AEGP_StreamSuite suite)
{
    suite.AEGP_GetNewEffectStreamByIndex = &get_new_effect_stream_by_index;
    suite.AEGP_DisposeStream = &dispose_stream;
    return suite;
}

AEGP_DynamicStreamSuite with_stream_flags(AEGP_DynamicStreamSuite suite)
{
    suite.AEGP_SetDynamicStreamFlag = &set_dynamic_stream_flag;
    return suite;
}

}  // namespace minihost
