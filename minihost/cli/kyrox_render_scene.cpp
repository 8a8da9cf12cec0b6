#include "minihost/cli/kyrox_render_scene.h"

#include <algorithm>

#include "minihost/global_setup.h"
#include "minihost/host.h"
#include "minihost/cli/scene_dump.h"
#include "minihost/scene_setup.h"
#include "plugin/host/smart_render.h"
#include "plugin/host/command_dispatch.h"
#ifndef _WIN32
#include "minihost/scene_file.h"
#endif

namespace minihost {

int dump_scene(std::ostream& out, std::ostream& err, const SceneDumpRequest& request)
{
    Host host(&kyrox::plugin_entry);
    const A_long width = std::max<A_long>(request.width / request.downsample, 1);
    const A_long height = std::max<A_long>(request.height / request.downsample, 1);
    host.set_frame(width, height, request.bitdepth / 8);
    host.in_data().downsample_x = {1, static_cast<A_u_long>(request.downsample)};
    host.in_data().downsample_y = host.in_data().downsample_x;
    out << "Frame: " << width << " x " << height << ", downsample 1/" << request.downsample << "\n";
    GlobalSetup setup(host);
    err << setup.banner() << "\n";
    if (setup.error() != PF_Err_NONE || host.params_setup() != PF_Err_NONE) {
        return 1;
    }
    if (!request.scene_file.empty()) {
#ifndef _WIN32
        load_scene_file(host, request.scene_file);
#else
        out << "Scene files are read by the native build only; gathering the defaults.\n";
#endif
    }
    PF_PreRenderOutput pre_render{};
    host.smart_pre_render(pre_render, host.pre_render_input(request.bitdepth));

    PF_SmartRenderInput input{};
    input.bitdepth = request.bitdepth;
    PF_SmartRenderExtra extra{&input, host.smart_render_callbacks()};
    kyrox::CommandContext context;
    context.in_data = &host.in_data();
    context.out_data = &host.out_data();
    context.extra = &extra;
    auto& instance = **static_cast<kyrox::AePluginConnection**>(*host.in_data().global_data);
    instance.target.bytes_per_channel = static_cast<std::uint8_t>(request.bitdepth / 8);
    host.run_as_command([&] {
        const kyrox::FrameInputs inputs = kyrox::gather_frame_inputs(instance, context);
        print_scene(out, inputs.scene, inputs.glow_distortion, inputs.core_distortion);
    });
    out << "Host objects still held: " << open_host_objects(host)
        << ", suites still held: " << host.outstanding_suites() << "\n";
    return context.error == PF_Err_NONE ? 0 : 1;
}

}  // namespace minihost
