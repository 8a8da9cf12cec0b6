// kyrox-render's program: loads the plug-in file into the small host and renders a sequence of frames of
// a built-in preset on an animated straight blade into image files, or one frame of every preset into
// one labelled contact sheet. --scene describes the composition in a JSON file (blade, masks or text).
// --smoke runs the plug-in once through its commands and prints what the host received; --dump-scene
// prints the scene and distortion settings one frame gathers.
#include "minihost/cli/kyrox_render_run.h"

#include <algorithm>
#include <memory>
#include <ostream>
#include <chrono>
#include <cstddef>
#include <cstdio>
#include <deque>
#include <exception>
#include <filesystem>
#include <iomanip>
#include <new>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "minihost/cli/contact_sheet.h"
#include "minihost/effect_params.h"
#include "minihost/cli/frame_memory.h"
#include "minihost/cli/frame_writer.h"
#include "minihost/frame_session.h"
#include "minihost/global_setup.h"
#include "minihost/host.h"
#include "minihost/cli/image_files.h"
#include "minihost/cli/kyrox_render_scene.h"
#include "minihost/name_suggestions.h"
#include "minihost/output_capture.h"
#include "minihost/param_listing.h"
#include "minihost/param_state.h"
#include "minihost/plugin_module.h"
#include "minihost/cli/preset_tile.h"
#include "minihost/cli/progress_report.h"
#include "minihost/cli/render_options.h"
#include "minihost/scene_file.h"
#include "minihost/cli/staged_file.h"
#include "minihost/cli/stop_request.h"

namespace {

using minihost::RenderOptions;

// Where the program writes, how it gets its plug-in and what asks it to stop.
struct Streams {
    std::ostream& out;
    std::ostream& err;
    const minihost::PluginOpener& open_plugin;
    const minihost::StopRequest& stop;
};

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

int run_smoke(const RenderOptions& options, const Streams& streams)
{
    std::ostream& out = streams.out;
    const minihost::OpenPlugin plugin = streams.open_plugin(options.plugin);
    minihost::Host host(plugin.entry);
    host.set_frame(options.width, options.height, options.bitdepth / 8);

    minihost::GlobalSetup setup(host);
    const PF_Err setup_error = setup.error();
    const PF_OutData& out_data = host.out_data();
    const A_u_long version = out_data.my_version;
    out << "Plug-in: " << options.plugin << "\n"
        << "Global set-up: error " << setup_error << ", version " << hex(static_cast<A_long>(version)) << " ("
        << (version >> 19) << "." << ((version >> 15) & 0xF) << "." << (version & 0x1FF) << "), out_flags "
        << hex(out_data.out_flags) << ", out_flags2 " << hex(out_data.out_flags2) << "\n"
        << "Start-up banner: " << setup.banner() << "\n";

    const PF_Err params_error = host.params_setup();
    out << "Parameter set-up: error " << params_error << ", parameters " << out_data.num_params << "\n";
    PF_Err preset_error = PF_Err_NONE;
    if (!minihost::choose_preset(host, options.preset, preset_error)) {
        throw minihost::UnknownPreset(options.preset, minihost::preset_names(host));
    }
    out << "Preset " << options.preset << ": error " << preset_error << ", parameters changed "
        << host.param_state().changed_count() << "\n";
    if (options.list_params) {
        minihost::print_params(out, host);
    }

    const PF_Err about_error = host.about();
    out << "About: error " << about_error << "\n" << out_data.return_msg << "\n";

    PF_PreRenderOutput pre_render{};
    const PF_Err pre_render_error = host.smart_pre_render(pre_render, host.pre_render_input(options.bitdepth));
    out << "Smart pre-render: error " << pre_render_error << ", result " << rect_text(pre_render.result_rect)
        << ", maximum " << rect_text(pre_render.max_result_rect) << ", flags " << hex(pre_render.flags) << "\n";

    minihost::DebugOutputCapture debug_output;
    const PF_Err render_error = host.smart_render(options.bitdepth);
    out << "Smart render (" << options.bitdepth << "-bit, " << options.width << " x " << options.height << "): error "
        << render_error << "\n"
        << "Debugger output:" << debug_output.text();

    const PF_Err setdown_error = setup.set_down();
    out << "Global set-down: error " << setdown_error << "\n";
    return setup_error == PF_Err_NONE && render_error == PF_Err_NONE ? 0 : 1;
}

minihost::SessionSettings session_settings(const RenderOptions& options, const std::string& preset)
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

A_long rendered_width(const RenderOptions& options)
{
    return std::max<A_long>(options.width / options.downsample, 1);
}
A_long rendered_height(const RenderOptions& options)
{
    return std::max<A_long>(options.height / options.downsample, 1);
}

std::string memory_text(const RenderOptions& options)
{
    return minihost::frame_memory_text(rendered_width(options), rendered_height(options), options.bitdepth / 8);
}

double milliseconds_since(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

void check_render(PF_Err error, A_long frame, const RenderOptions& options)
{
    if (error == PF_Err_OUT_OF_MEMORY) {
        throw std::runtime_error("frame " + std::to_string(frame) + " ran out of memory: " + memory_text(options));
    }
    if (error != PF_Err_NONE) {
        throw std::runtime_error("frame " + std::to_string(frame) + " failed with host error " + std::to_string(error));
    }
}

// The scene file's composition over the built-in blade; its keys and values win.
void load_scene(minihost::FrameSession& session, const RenderOptions& options)
{
    if (!options.scene_file.empty()) {
        minihost::load_scene_file(session.host(), options.scene_file);
    }
}

std::string milliseconds_text(double ms)
{
    std::ostringstream text;
    text << std::fixed << std::setprecision(1) << ms << " ms";
    return text.str();
}

// The renderer's share of a frame, kept until the writer finishes the frame's file.
struct FrameTimes {
    double render_ms = 0.0;
    double hand_over_ms = 0.0;  // copying the frame for the writer and waiting for room in its queue
};

using minihost::frames_waiting_to_be_written;

// Where a stopped sequence ended: "at frame 5: 5 of 40 files written (frames 0 to 4) in out". Files are
// written in frame order, so those written are the first ones.
std::string stop_point(const RenderOptions& options, A_long written, A_long count)
{
    std::ostringstream text;
    text << "at frame " << options.first_frame + written << ": " << written << " of " << count << " files written";
    if (written == 1) {
        text << " (frame " << options.first_frame << ")";
    } else if (written > 1) {
        text << " (frames " << options.first_frame << " to " << options.first_frame + written - 1 << ")";
    }
    text << " in " << options.output.string();
    return text.str();
}

int run_sequence(const RenderOptions& options, const Streams& streams)
{
    std::ostream& out = streams.out;
    const minihost::OpenPlugin plugin = streams.open_plugin(options.plugin);
    minihost::FrameSession session(plugin.entry, session_settings(options, options.preset));
    load_scene(session, options);
    if (options.list_params) {
        minihost::print_params(out, session.host());
    }
    minihost::check_writable_folder(options.output);
    const A_long count = options.last_frame - options.first_frame + 1;
    out << "Rendering \"" << options.preset << "\", " << session.frame_width() << " x " << session.frame_height()
        << ", " << options.bitdepth << "-bit, frames " << options.first_frame << " to " << options.last_frame << "\n"
        << std::flush;
    minihost::ProgressReport progress("frame", count, streams.err, out, minihost::stderr_is_terminal());
    std::deque<FrameTimes> unwritten;
    FrameTimes totals;
    double write_total = 0.0;
    A_long written_count = 0;
    // A frame's line comes once its file is whole at its place.
    const auto report = [&](const std::vector<minihost::WrittenFile>& files) {
        for (const minihost::WrittenFile& written : files) {
            const FrameTimes times = unwritten.front();
            unwritten.pop_front();
            totals.render_ms += times.render_ms;
            totals.hand_over_ms += times.hand_over_ms;
            write_total += written.write_ms;
            std::ostringstream line;
            line << "[" << ++written_count << "/" << count << "] " << written.file.string() << "  render "
                 << milliseconds_text(times.render_ms) << ", hand-over " << milliseconds_text(times.hand_over_ms)
                 << ", file write " << milliseconds_text(written.write_ms) << " in the background";
            progress.step_done(line.str());
        }
    };
    const minihost::StopRequest& stop = streams.stop;
    minihost::FrameWriter writer(
        [&stop](const minihost::FramePixels& frame, const std::filesystem::path& without_extension) {
            return minihost::write_image(frame, without_extension, stop);
        },
        frames_waiting_to_be_written);
    try {
        for (A_long frame = options.first_frame; frame <= options.last_frame; ++frame) {
            const auto start = std::chrono::steady_clock::now();
            check_render(session.render(frame), frame, options);
            const double render_ms = milliseconds_since(start);
            // A frame rendered after the request is not written: the run ends with the files begun.
            stop.throw_if_requested();
            const auto hand_over_start = std::chrono::steady_clock::now();
            std::ostringstream name;
            name << "frame_" << std::setw(4) << std::setfill('0') << frame;
            writer.hand_over(session.output(), options.output / name.str());
            unwritten.push_back({render_ms, milliseconds_since(hand_over_start)});
            report(writer.take_written());
        }
        report(writer.finish());
    } catch (const minihost::Stopped& stopped) {
        // The file in hand is given up, and removed, by its writing; one finished meanwhile counts.
        report(writer.stop());
        throw minihost::Stopped(stopped.signal(), stop_point(options, written_count, count));
    }
    progress.finish();
    const auto average = [&](double total) { return milliseconds_text(total / static_cast<double>(count)); };
    out << "Average per frame: render " << average(totals.render_ms)
        << " (the effect's work, host included), hand-over " << average(totals.hand_over_ms)
        << " (copying the frame for the file writer, and waiting whenever " << frames_waiting_to_be_written
        << " were already waiting), file write " << average(write_total)
        << " (on its own thread, alongside the rendering); files in "
        << std::filesystem::absolute(options.output).string() << "\n";
    return 0;
}

minihost::TileLayout tile_layout(const RenderOptions& options)
{
    return {options.reference_width, options.reference_height, options.width, options.height};
}

int run_contact_sheet(const RenderOptions& options, const Streams& streams)
{
    std::ostream& out = streams.out;
    // Checked first: the sheet is written only after every preset is rendered.
    minihost::check_writable_folder(options.output);
    const minihost::OpenPlugin plugin = streams.open_plugin(options.plugin);
    const minihost::TileLayout layout = tile_layout(options);
    std::vector<std::string> presets;
    {
        minihost::FrameSession probe(plugin.entry, session_settings(options, "Default"));
        presets = minihost::preset_names(probe.host());
    }
    minihost::ProgressReport progress("preset", static_cast<int>(presets.size()), streams.err, out,
                                      minihost::stderr_is_terminal());
    std::vector<minihost::LabelledImage> tiles;
    const std::filesystem::path file = options.output / "contact_sheet.png";
    try {
        for (std::size_t i = 0; i < presets.size(); ++i) {
            streams.stop.throw_if_requested();
            minihost::SessionSettings settings = minihost::tile_session(layout, presets[i], options.last_frame + 1);
            settings.bytes_per_channel = options.bitdepth / 8;
            minihost::FrameSession session(plugin.entry, settings);
            load_scene(session, options);
            const auto start = std::chrono::steady_clock::now();
            check_render(session.render(options.first_frame), options.first_frame, options);
            std::ostringstream line;
            line << "[" << i + 1 << "/" << presets.size() << "] " << presets[i] << "  render "
                 << milliseconds_text(milliseconds_since(start));
            progress.step_done(line.str());
            tiles.push_back({presets[i], minihost::tile_image(session.output(), layout)});
        }
        progress.finish();
        std::ostringstream title;
        title << "Kyrox presets on a " << layout.reference_width << " x " << layout.reference_height
              << " frame, drawn at 1/" << minihost::tile_downsample(layout) << " resolution";
        minihost::write_png(minihost::contact_sheet(tiles, 8, minihost::label_font(), title.str()), file, streams.stop);
    } catch (const minihost::Stopped& stopped) {
        throw minihost::Stopped(stopped.signal(), "after " + std::to_string(tiles.size()) + " of " +
                                                      std::to_string(presets.size()) + " presets: " + file.string() +
                                                      " not written");
    }
    out << "Contact sheet of " << tiles.size() << " presets, each as on a " << layout.reference_width << " x "
        << layout.reference_height << " frame: " << std::filesystem::absolute(file).string() << "\n";
    return 0;
}

int run(const RenderOptions& options, const Streams& streams)
{
    minihost::check_frame_fits(rendered_width(options), rendered_height(options), options.bitdepth / 8);
    if (options.dump_scene) {
        return minihost::dump_scene(
            streams.out, streams.err,
            {options.scene_file, options.width, options.height, options.bitdepth, options.downsample});
    }
    if (options.smoke) {
        return run_smoke(options, streams);
    }
    return options.contact_sheet ? run_contact_sheet(options, streams) : run_sequence(options, streams);
}

}  // namespace

namespace minihost {

OpenPlugin load_plugin_file(const std::string& file)
{
    OpenPlugin plugin;
    plugin.module = std::make_unique<PluginModule>(file);
    plugin.entry = plugin.module->entry();
    return plugin;
}

namespace {

// The run, with each failure turned into its message and exit code.
int run_reporting_failures(std::span<const std::string_view> arguments, const Streams& streams)
{
    std::ostream& out = streams.out;
    std::ostream& err = streams.err;
    RenderOptions options;
    try {
        options = parse_render_options(arguments);
        if (options.help) {
            print_usage(out);
            return 0;
        }
        if (options.version) {
            out << version_text() << "\n";
            return 0;
        }
        return run(options, streams);
    } catch (const UsageError& error) {
        err << "kyrox-render: " << error.what() << "\nRun kyrox-render --help for the usage.\n";
        return 2;
    } catch (const UnknownPreset& error) {
        err << "kyrox-render: " << error.what() << "\n";
        return 2;
    } catch (const Stopped& stopped) {
        err << "kyrox-render: " << stopped.what() << "\n";
        return 128 + stopped.signal();
    } catch (const std::bad_alloc&) {
        err << "kyrox-render: out of memory: " << memory_text(options) << "\n";
        return 1;
    } catch (const std::exception& error) {
        err << "kyrox-render: " << error.what() << "\n";
        return 1;
    }
}

}  // namespace

int run_kyrox_render(std::span<const std::string_view> arguments, std::ostream& out, std::ostream& err,
                     const StopRequest& stop, const PluginOpener& open_plugin)
{
    int exit_code = run_reporting_failures(arguments, {out, err, open_plugin, stop});
    // Work that does not stop part way (a smoke run, a scene dump) still says it was asked to.
    if (exit_code == 0 && stop.requested()) {
        err << "kyrox-render: interrupted by " << signal_name(stop.signal()) << ", after the run was complete\n";
        exit_code = 128 + stop.signal();
    }
    // The output is the result of --dump-scene and --list-params and the record of a run: losing any of
    // it fails the run. A stream that failed once stays failed, so this also catches earlier writes.
    if (!out.flush()) {
        err << "kyrox-render: cannot write to standard output\n";
        exit_code = exit_code == 0 ? 1 : exit_code;
    }
    return exit_code;
}

}  // namespace minihost
