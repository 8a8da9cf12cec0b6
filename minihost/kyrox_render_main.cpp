// kyrox-render: loads the plug-in file into the small host and renders a sequence of frames of a
// built-in preset on an animated straight blade into image files, or one frame of every preset into
// one labelled contact sheet. --scene describes the composition in a JSON file (blade, masks or
// text). --smoke runs the plug-in once through its commands and prints what the host received;
// --dump-scene prints the scene and distortion settings one frame gathers.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <iomanip>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "minihost/contact_sheet.h"
#include "minihost/frame_session.h"
#include "minihost/host.h"
#include "minihost/image_files.h"
#include "minihost/kyrox_render_scene.h"
#include "minihost/output_capture.h"
#include "minihost/param_listing.h"
#include "minihost/plugin_module.h"
#include "minihost/scene_file.h"

namespace {

struct Options {
    std::string plugin;
    A_long width = 640;
    A_long height = 360;
    A_short bitdepth = 8;
    int downsample = 1;
    A_long first_frame = 0;
    A_long last_frame = 11;
    std::string preset = "Default";
    std::filesystem::path output = "kyrox-frames";
    bool contact_sheet = false;
    bool list_params = false;
    bool smoke = false;
    bool dump_scene = false;
    std::string scene_file;
};

[[noreturn]] void usage(const char* message)
{
    std::cerr << "kyrox-render: " << message << "\n"
              << "usage: kyrox-render --plugin FILE [--preset NAME] [--size WIDTH HEIGHT] [--depth 8|16|32]\n"
              << "                    [--downsample N] [--frames FIRST LAST] [--output FOLDER] [--contact-sheet]\n"
              << "                    [--scene FILE.json] [--list-params] [--smoke]\n"
              << "       kyrox-render --dump-scene [--scene FILE.json] [--size WIDTH HEIGHT] [--depth 8|16|32]\n";
    std::exit(2);
}

A_long number_of(const char* text, long least)
{
    char* end = nullptr;
    const long value = std::strtol(text, &end, 10);
    if (*end != '\0' || value < least || value > 1 << 16) {
        usage("not a number in range");
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
            options.width = number_of(argv[++i], 1);
            options.height = number_of(argv[++i], 1);
        } else if (arg == "--depth" && left >= 1) {
            options.bitdepth = static_cast<A_short>(number_of(argv[++i], 1));
            if (options.bitdepth != 8 && options.bitdepth != 16 && options.bitdepth != 32) {
                usage("the depth is 8, 16 or 32");
            }
        } else if (arg == "--downsample" && left >= 1) {
            options.downsample = static_cast<int>(number_of(argv[++i], 1));
        } else if (arg == "--frames" && left >= 2) {
            options.first_frame = number_of(argv[++i], 0);
            options.last_frame = number_of(argv[++i], 0);
            if (options.last_frame < options.first_frame) {
                usage("the last frame comes before the first");
            }
        } else if (arg == "--output" && left >= 1) {
            options.output = argv[++i];
        } else if (arg == "--preset" && left >= 1) {
            options.preset = argv[++i];
        } else if (arg == "--contact-sheet") {
            options.contact_sheet = true;
        } else if (arg == "--list-params") {
            options.list_params = true;
        } else if (arg == "--smoke") {
            options.smoke = true;
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

int run_smoke(const Options& options)
{
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
    PF_Err preset_error = PF_Err_NONE;
    if (!minihost::choose_preset(host, options.preset, preset_error)) {
        usage("no preset of that name");
    }
    std::cout << "Preset " << options.preset << ": error " << preset_error << ", parameters changed "
              << host.param_state().changed_count() << "\n";
    if (options.list_params) {
        minihost::print_params(std::cout, host);
    }

    const PF_Err about_error = host.about();
    std::cout << "About: error " << about_error << "\n" << out.return_msg << "\n";

    PF_PreRenderOutput pre_render{};
    const PF_Err pre_render_error = host.smart_pre_render(pre_render, host.pre_render_input(options.bitdepth));
    std::cout << "Smart pre-render: error " << pre_render_error << ", result " << rect_text(pre_render.result_rect)
              << ", maximum " << rect_text(pre_render.max_result_rect) << ", flags " << hex(pre_render.flags) << "\n";

    minihost::DebugOutputCapture debug_output;
    const PF_Err render_error = host.smart_render(options.bitdepth);
    std::cout << "Smart render (" << options.bitdepth << "-bit, " << options.width << " x " << options.height
              << "): error " << render_error << "\n"
              << "Debugger output:" << debug_output.text();

    const PF_Err setdown_error = host.global_setdown();
    std::cout << "Global set-down: error " << setdown_error << "\n";
    return setup_error == PF_Err_NONE && render_error == PF_Err_NONE ? 0 : 1;
}

minihost::SessionSettings session_settings(const Options& options, const std::string& preset)
{
    minihost::SessionSettings s;
    s.width = options.width;
    s.height = options.height;
    s.bytes_per_channel = options.bitdepth / 8;
    s.downsample = options.downsample;
    s.preset = preset;
    s.frame_count = options.last_frame + 1;
    return s;
}

double milliseconds_since(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

void check_render(PF_Err error, A_long frame)
{
    if (error != PF_Err_NONE) {
        throw std::runtime_error("frame " + std::to_string(frame) + " failed with host error " + std::to_string(error));
    }
}

// The scene file's composition over the built-in blade; its keys and values win.
void load_scene(minihost::FrameSession& session, const Options& options)
{
    if (!options.scene_file.empty()) {
        minihost::load_scene_file(session.host(), options.scene_file);
    }
}

int run_sequence(const Options& options)
{
    const minihost::PluginModule module(options.plugin);
    minihost::FrameSession session(module.entry(), session_settings(options, options.preset));
    load_scene(session, options);
    if (options.list_params) {
        minihost::print_params(std::cout, session.host());
    }
    std::filesystem::create_directories(options.output);
    const A_long count = options.last_frame - options.first_frame + 1;
    std::cout << "Rendering \"" << options.preset << "\", " << session.frame_width() << " x " << session.frame_height()
              << ", " << options.bitdepth << "-bit, frames " << options.first_frame << " to " << options.last_frame
              << "\n";
    double total = 0.0;
    for (A_long frame = options.first_frame; frame <= options.last_frame; ++frame) {
        const auto start = std::chrono::steady_clock::now();
        check_render(session.render(frame), frame);
        const double ms = milliseconds_since(start);
        total += ms;
        std::ostringstream name;
        name << "frame_" << std::setw(4) << std::setfill('0') << frame;
        const std::filesystem::path file = minihost::write_image(session.output(), options.output / name.str());
        std::cout << "[" << (frame - options.first_frame + 1) << "/" << count << "] " << file.string() << "  "
                  << std::fixed << std::setprecision(1) << ms << " ms\n"
                  << std::flush;
    }
    std::cout << "Average " << std::fixed << std::setprecision(1) << total / static_cast<double>(count)
              << " ms per frame; files in " << std::filesystem::absolute(options.output).string() << "\n";
    return 0;
}

int run_contact_sheet(const Options& options)
{
    const minihost::PluginModule module(options.plugin);
    std::vector<std::string> presets;
    {
        minihost::FrameSession probe(module.entry(), session_settings(options, "Default"));
        presets = probe.preset_names();
    }
    std::vector<minihost::LabelledImage> tiles;
    for (std::size_t i = 0; i < presets.size(); ++i) {
        minihost::FrameSession session(module.entry(), session_settings(options, presets[i]));
        load_scene(session, options);
        const auto start = std::chrono::steady_clock::now();
        check_render(session.render(options.first_frame), options.first_frame);
        std::cout << "[" << i + 1 << "/" << presets.size() << "] " << presets[i] << "  " << std::fixed
                  << std::setprecision(1) << milliseconds_since(start) << " ms\n"
                  << std::flush;
        tiles.push_back({presets[i], minihost::rgba8_of(session.output())});
    }
    std::filesystem::create_directories(options.output);
    const std::filesystem::path file = options.output / "contact_sheet.png";
    minihost::write_png(minihost::contact_sheet(tiles, 8, minihost::label_font()), file);
    std::cout << "Contact sheet of " << tiles.size() << " presets: " << std::filesystem::absolute(file).string()
              << "\n";
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    try {
        const Options options = parse(argc, argv);
        if (options.dump_scene) {
            return minihost::dump_scene(std::cout,
                                        {options.scene_file, options.width, options.height, options.bitdepth});
        }
        if (options.smoke) {
            return run_smoke(options);
        }
        return options.contact_sheet ? run_contact_sheet(options) : run_sequence(options);
    } catch (const std::exception& error) {
        std::cerr << "kyrox-render: " << error.what() << "\n";
        return 1;
    }
}
