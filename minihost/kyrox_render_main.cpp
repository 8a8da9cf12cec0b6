// kyrox-render: loads the plug-in file into the small host, runs it through set-up, About, a smart
// pre-render and a smart render of one frame, and prints what the host received.
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <iostream>
#include <sstream>
#include <string>

#include "minihost/host.h"
#include "minihost/kyrox_render_scene.h"
#include "minihost/output_capture.h"
#include "minihost/param_listing.h"
#include "minihost/plugin_module.h"

namespace {

struct Options {
    std::string plugin;
    A_long width = 640;
    A_long height = 360;
    A_short bitdepth = 8;
    bool list_params = false;
    std::string preset;
    bool dump_scene = false;
    std::string scene_file;
};

[[noreturn]] void usage(const char* message)
{
    std::cerr << "kyrox-render: " << message << "\n"
              << "usage: kyrox-render --plugin FILE [--size WIDTH HEIGHT] [--depth 8|16|32] [--list-params] [--preset NAME]\n"
              << "       kyrox-render --dump-scene [--scene FILE.json] [--size WIDTH HEIGHT] [--depth 8|16|32]\n";
    std::exit(2);
}

A_long number_of(const char* text)
{
    char* end = nullptr;
    const long value = std::strtol(text, &end, 10);
    if (*end != '\0' || value <= 0 || value > 1 << 16) {
        usage("not a positive number");
    }
    return static_cast<A_long>(value);
}

Options parse(int argc, char** argv)
{
    Options options;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const int left = argc - i - 1;
        if (arg == "--plugin" && left >= 1) {
            options.plugin = argv[++i];
        } else if (arg == "--size" && left >= 2) {
            options.width = number_of(argv[++i]);
            options.height = number_of(argv[++i]);
        } else if (arg == "--depth" && left >= 1) {
            options.bitdepth = static_cast<A_short>(number_of(argv[++i]));
            if (options.bitdepth != 8 && options.bitdepth != 16 && options.bitdepth != 32) {
                usage("the depth is 8, 16 or 32");
            }
        } else if (arg == "--list-params") {
            options.list_params = true;
        } else if (arg == "--preset" && left >= 1) {
            options.preset = argv[++i];
        } else if (arg == "--dump-scene") {
            options.dump_scene = true;
        } else if (arg == "--scene" && left >= 1) {
            options.scene_file = argv[++i];
        } else {
            std::string message = "unknown argument ";
            message += arg;
            usage(message.c_str());
        }
    }
    if (options.plugin.empty() && !options.dump_scene) {
        usage("no plug-in file");
    }
    return options;
}

std::string hex(A_long value)
{
    char text[16];
    std::snprintf(text, sizeof text, "0x%X", static_cast<unsigned>(value));
    return text;
}

std::string rect_text(const PF_LRect& r)
{
    std::ostringstream text;
    text << "(" << r.left << ", " << r.top << ", " << r.right << ", " << r.bottom << ")";
    return text.str();
}

int run(const Options& options)
{
    if (options.dump_scene) {
        return minihost::dump_scene(std::cout, {options.scene_file, options.width, options.height, options.bitdepth});
    }
    minihost::PluginModule module(options.plugin);
    minihost::Host host(module.entry());
    host.set_frame(options.width, options.height, options.bitdepth / 8);

    minihost::StderrCapture banner;
    const PF_Err setup_error = host.global_setup();
    const std::string banner_text = banner.finish();
    const PF_OutData& out = host.out_data();
    const A_u_long version = out.my_version;
    std::cout << "Plug-in: " << options.plugin << "\n"
              << "Global set-up: error " << setup_error << ", version " << hex(static_cast<A_long>(version)) << " ("
              << (version >> 19) << "." << ((version >> 15) & 0xF) << "." << (version & 0x1FF) << "), out_flags "
              << hex(out.out_flags) << ", out_flags2 " << hex(out.out_flags2) << "\n"
              << "Start-up banner: " << banner_text << "\n";

    const PF_Err params_error = host.params_setup();
    std::cout << "Parameter set-up: error " << params_error << ", parameters " << out.num_params << "\n";
    if (!options.preset.empty()) {
        PF_Err preset_error = PF_Err_NONE;
        if (!minihost::choose_preset(host, options.preset, preset_error)) {
            usage("no preset of that name");
        }
        std::cout << "Preset " << options.preset << ": error " << preset_error << ", parameters changed "
                  << host.param_state().changed_count() << "\n";
    }
    if (options.list_params) {
        minihost::print_params(std::cout, host);
    }

    const PF_Err about_error = host.about();
    std::cout << "About: error " << about_error << "\n" << out.return_msg << "\n";

    PF_PreRenderOutput pre_render{};
    const PF_Err pre_render_error = host.smart_pre_render(pre_render, host.pre_render_input(options.bitdepth));
    std::cout << "Smart pre-render: error " << pre_render_error << ", result " << rect_text(pre_render.result_rect)
              << ", maximum " << rect_text(pre_render.max_result_rect) << ", flags " << hex(pre_render.flags)
              << "\n";

    minihost::DebugOutputCapture debug_output;
    const PF_Err render_error = host.smart_render(options.bitdepth);
    std::cout << "Smart render (" << options.bitdepth << "-bit, " << options.width << " x " << options.height
              << "): error " << render_error << "\n"
              << "Debugger output:" << debug_output.text();

    const PF_Err setdown_error = host.global_setdown();
    std::cout << "Global set-down: error " << setdown_error << "\n";
    return setup_error == PF_Err_NONE && render_error == PF_Err_NONE ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv)
{
    try {
        return run(parse(argc, argv));
    } catch (const std::exception& error) {
        std::cerr << "kyrox-render: " << error.what() << "\n";
        return 1;
    }
}
