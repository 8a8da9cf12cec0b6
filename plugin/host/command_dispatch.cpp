#include "plugin/host/command_dispatch.h"

#include "hostapi/pf_commands.h"
#include "plugin/host/about_text.h"
#include "plugin/host/global_setup.h"
#include "plugin/host/result_rects.h"
#include "plugin/host/smart_render_entry.h"

namespace kyrox {

namespace {

void smart_pre_render(AePluginConnection& instance, CommandContext& context)
{
    auto* extra = static_cast<PF_PreRenderExtra*>(context.extra);
    if (extra == nullptr || extra->input == nullptr || extra->output == nullptr || extra->cb == nullptr) {
        context.error = PF_Err_BAD_CALLBACK_PARAM;
        return;
    }
    PF_CheckoutResult result{};
    instance.pre_render(context, result);
    copy_result_rects(result.result_rect, extra->output->result_rect);
    copy_result_rects(result.max_result_rect, extra->output->max_result_rect);
}

}  // namespace

PF_Err handle_command(AePluginConnection& instance, PF_Cmd cmd, PF_InData* in_data, PF_OutData* out_data,
                      PF_ParamDef* params[], void* extra)
{
    CommandContext context;
    context.in_data = in_data;
    context.out_data = out_data;
    context.params = params;
    context.extra = extra;

    switch (cmd) {
    case PF_Cmd_ABOUT:
        about_text(context);
        break;
    case PF_Cmd_GLOBAL_SETUP:
        global_setup(instance, context);
        break;
    case PF_Cmd_GLOBAL_SETDOWN:
        instance.on_global_setdown(context);
        break;
    case PF_Cmd_PARAMS_SETUP:
        out_data->num_params = 0;
        instance.setup_params(context);
        out_data->num_params += 1;  // the input layer
        break;
    case PF_Cmd_USER_CHANGED_PARAM:
        instance.apply_preset(context);
        break;
    case PF_Cmd_UPDATE_PARAMS_UI:
        instance.update_params_ui(context);
        break;
    case PF_Cmd_EVENT:
        instance.handle_event(context);
        break;
    case PF_Cmd_QUERY_DYNAMIC_FLAGS:
        instance.query_dynamic_flags(context);
        break;
    case PF_Cmd_AUDIO_RENDER:
        instance.render_audio(context);
        break;
    case PF_Cmd_SMART_PRE_RENDER:
        smart_pre_render(instance, context);
        break;
    case PF_Cmd_SMART_RENDER:
        smart_render_entry(instance, context);
        break;
    default:
        break;
    }
    return context.error;
}

}  // namespace kyrox
