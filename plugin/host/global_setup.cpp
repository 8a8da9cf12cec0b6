#include "plugin/host/global_setup.h"

#include <iostream>

#include "plugin/host/effect_identity.h"
#include "plugin/host/suite_handler.h"

namespace kyrox {

static_assert(effect_version == PF_Version(version_major, version_minor, 0, 0, version_build));
static_assert(effect_out_flags ==
              (PF_OutFlag_NON_PARAM_VARY | PF_OutFlag_I_EXPAND_BUFFER | PF_OutFlag_PIX_INDEPENDENT |
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

}  // namespace kyrox
