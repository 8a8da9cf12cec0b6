#include "plugin/host/command_dispatch.h"

#include <algorithm>
#include <cstring>
#include <iostream>
#include <memory>
#include <sstream>

#include "hostapi/pf_commands.h"
#include "plugin/host/ae_plugin_connection.h"
#include "plugin/host/smart_render.h"
#include "plugin/host/suite_handler.h"
#include "plugin/resources/effect_version.h"

namespace kyrox {

namespace {

// Name and version of the effect as it shows them to the host and the user.
constexpr const char* effect_name = "Kyrox";
constexpr int version_major = KYROX_VERSION_MAJOR;
constexpr int version_minor = KYROX_VERSION_MINOR;
constexpr int version_build = KYROX_VERSION_BUILD;

// Version and flag words the effect reports to the host; the effect description resource carries
// the same values.
constexpr A_u_long effect_version = KYROX_EFFECT_VERSION;
constexpr PF_OutFlags effect_out_flags = KYROX_OUT_FLAGS;
constexpr PF_OutFlags2 effect_out_flags2 = KYROX_OUT_FLAGS2;

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
    build_color_ramps(instance->color_ramps);
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

static_assert(effect_version == PF_Version(version_major, version_minor, 0, 0, version_build));
static_assert(effect_out_flags == (PF_OutFlag_NON_PARAM_VARY | PF_OutFlag_I_EXPAND_BUFFER | PF_OutFlag_PIX_INDEPENDENT |
                                   PF_OutFlag_I_USE_SHUTTER_ANGLE | PF_OutFlag_DEEP_COLOR_AWARE));
static_assert(effect_out_flags2 ==
              (PF_OutFlag2_SUPPORTS_QUERY_DYNAMIC_FLAGS | PF_OutFlag2_PARAM_GROUP_START_COLLAPSED_FLAG |
               PF_OutFlag2_REVEALS_ZERO_ALPHA | PF_OutFlag2_SUPPORTS_SMART_RENDER | PF_OutFlag2_FLOAT_COLOR_AWARE |
               PF_OutFlag2_DEPENDS_ON_UNREFERENCED_MASKS));

void global_setup(AePluginConnection& instance, CommandContext& context)
{
    PF_InData& in_data = *context.in_data;
    PF_OutData& out_data = *context.out_data;
    out_data.my_version = effect_version;
    out_data.out_flags = effect_out_flags;
    out_data.out_flags2 = effect_out_flags2;

    std::cerr << "## " << effect_name << " " << version_major << "." << version_minor << "." << version_build;

    suite_handler suites(in_data.pica_basicP);
    if (const AEGP_UtilitySuite* utility = suites.utility()) {
        utility->AEGP_RegisterWithAEGP(nullptr, effect_name, &instance.plugin_id);
    } else {
        context.error = PF_Err_INVALID_CALLBACK;
    }

    instance.main_window = nullptr;
    in_data.utils->get_platform_data(in_data.effect_ref, PF_PlatData_MAIN_WND, &instance.main_window);

    if (const PFAppSuite* app = suites.app()) {
        PF_Boolean render_engine = 0;
        app->PF_IsRenderEngine(&render_engine);
        instance.render_engine = render_engine != 0;
    } else {
        context.error = PF_Err_INVALID_CALLBACK;
    }

    instance.on_global_setup(context);
}

std::string version_text()
{
    std::ostringstream text;
    text << "v" << version_major << "." << version_minor << "." << version_build;
    return text.str();
}

void about_text(CommandContext& context)
{
    std::ostringstream text;
    text << effect_name << " " << version_text() << "\n\n"
         << "www.ostrivale.com"
         << "\n\n"
         << "Copyright (c) Ostrivale. All rights reserved.";
    const std::string about = text.str();

    // The message is a fixed 256-byte field: append what fits and keep it terminated.
    char* message = context.out_data->return_msg;
    const std::size_t capacity = sizeof(context.out_data->return_msg);
    const void* end = std::memchr(message, '\0', capacity - 1);
    const std::size_t used = end != nullptr ? static_cast<std::size_t>(static_cast<const char*>(end) - message)
                                            : capacity - 1;
    const std::size_t count = std::min(about.size(), capacity - 1 - used);
    std::memcpy(message + used, about.data(), count);
    message[used + count] = '\0';
}

}  // namespace kyrox
