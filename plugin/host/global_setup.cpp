#include "plugin/host/global_setup.h"

#include <iostream>

#include "plugin/host/effect_identity.h"
#include "plugin/host/suite_handler.h"

namespace kyrox {

static_assert(effect_version == PF_Version(version_major, version_minor, 0, 0, version_build));
static_assert(effect_out_flags == 0x2080604);
static_assert(effect_out_flags2 == 0x81489);

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
