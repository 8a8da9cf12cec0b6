#include "plugin/host/param_visibility.h"

#include "plugin/host/param_index.h"

namespace kyrox {

namespace {

void update_param_ui(VisibilityContext& context, const PF_ParamUtilsSuite& utils, PF_ParamIndex index, bool hide)
{
    PF_ParamDef copy = *context.command.params[index];
    copy.flags = PF_ParamFlag_COLLAPSE_TWIRLY;
    copy.ui_flags = hide ? PF_PUI_INVISIBLE : PF_PUI_NONE;
    utils.PF_UpdateParamUI(context.command.in_data->effect_ref, index, &copy);
}

void set_stream_hidden(VisibilityContext& context, PF_ParamIndex index, bool hide)
{
    const AEGP_StreamSuite* streams = context.suites.stream();
    const AEGP_DynamicStreamSuite* dynamic = context.suites.dynamic_stream();
    if (context.effect == nullptr || streams == nullptr || dynamic == nullptr) {
        return;
    }
    AEGP_StreamRefH stream = nullptr;
    streams->AEGP_GetNewEffectStreamByIndex(context.plugin_id, context.effect, index, &stream);
    dynamic->AEGP_SetDynamicStreamFlag(stream, AEGP_DynStreamFlag_HIDDEN, 0, hide ? 1 : 0);
    streams->AEGP_DisposeStream(stream);
}

}  // namespace

void set_param_hidden(VisibilityContext& context, std::int16_t id, bool hide)
{
    const PF_ParamIndex index = param_index_of(id);
    if (const PF_ParamUtilsSuite* utils = context.suites.param_utils()) {
        update_param_ui(context, *utils, index, hide);
    } else {
        set_stream_hidden(context, index, hide);
    }
}

}  // namespace kyrox
