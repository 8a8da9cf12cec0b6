// Arbitrary argument vectors through kyrox-render's whole flow (run_kyrox_render), with the plug-in
// built in. The bytes split into arguments at each NUL. Promise: exit code 0, or 1 or 2 with a
// "kyrox-render: " message; nothing thrown out of the program, no crash, overflow or leak.
//
// Containment: the program runs with "--output <folder>/kyrox-frames --size 16 9 --frames 0 0" before
// the input's arguments, so that its defaults are small and inside the folder. Every --output and
// --scene value is a name inside a temporary folder of this process (inputs with '/' or ".." there are
// dropped), which is emptied after each input and removed at exit. Inputs whose options would render
// more than a few hundred pixels (frames, tiles, or a contact sheet's reference frame) are dropped too.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "minihost/cli/kyrox_render_run.h"
#include "minihost/cli/preset_tile.h"
#include "minihost/cli/render_options.h"
#include "plugin/host/command_dispatch.h"

namespace {

namespace fs = std::filesystem;

[[noreturn]] void broken(const std::string& reason)
{
    std::fprintf(stderr, "fuzz_render_args: %s\n", reason.c_str());
    std::abort();
}

// The scene files an input may name with --scene: one of each kind the loader meets.
const struct {
    const char* name;
    const char* text;
} scene_files[] = {
    {"masks.json", R"({"time": {"current": 10, "step": 10, "scale": 240}, "layer_flags": 8, "params": {"51": 3,
        "109": 2, "8": 80}, "keyframes": [{"id": 6, "time": 9, "value": [3, 8]}, {"id": 6, "time": 11,
        "value": [12, 6]}], "masks": [{"keys": [{"time": 0, "vertices": [[2, 2, 0, 0, 0, 0], [14, 2, 0, 0, 0, 0],
        [14, 8, 0, 0, 0, 0]]}]}, {"open": true, "keys": [{"vertices": [[1, 1, 0, 0, 0, 4], [9, 7, -4, 0, 0, 0]]}]}]})"},
    {"text.json", R"({"params": {"109": 3, "133": true}, "text": {"text": "Ky", "size": 8, "x": 1, "y": 8}})"},
    {"refused.json", R"({"params": {"3": [255, 300.5, 0]}})"},
    {"broken.json", R"({"params": {"109": )"},
};

// The process's own folder for everything the program writes.
class Workspace {
public:
    Workspace()
    {
        std::string pattern = (fs::temp_directory_path() / "fuzz_render_args-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) {
            broken("cannot create a temporary folder");
        }
        folder_ = pattern;
        for (const auto& scene : scene_files) {
            std::ofstream(folder_ / scene.name) << scene.text;
            kept_.insert(scene.name);
        }
    }
    ~Workspace()
    {
        std::error_code ignored;
        fs::remove_all(folder_, ignored);
    }
    Workspace(const Workspace&) = delete;
    Workspace& operator=(const Workspace&) = delete;

    const fs::path& folder() const noexcept { return folder_; }

    // Back to the scene files alone, so that no input sees what an earlier one wrote.
    void empty()
    {
        std::vector<fs::path> written;
        for (const fs::directory_entry& entry : fs::directory_iterator(folder_)) {
            if (kept_.count(entry.path().filename().string()) == 0) {
                written.push_back(entry.path());
            }
        }
        for (const fs::path& path : written) {
            fs::remove_all(path);
        }
    }

private:
    fs::path folder_;
    std::set<std::string> kept_;
};

Workspace& workspace()
{
    static Workspace instance;
    return instance;
}

// --plugin names the plug-in built into this target; no file is ever loaded.
constexpr std::string_view built_in_plugin = "Kyrox";

minihost::OpenPlugin open_built_in(const std::string& file)
{
    if (file != built_in_plugin) {
        throw std::runtime_error("minihost: cannot load " + file + ": the fuzz target has only " +
                                 std::string(built_in_plugin));
    }
    minihost::OpenPlugin plugin;
    plugin.entry = &kyrox::plugin_entry;
    return plugin;
}

std::vector<std::string> split_at_nul(std::string_view bytes)
{
    std::vector<std::string> arguments;
    while (!bytes.empty()) {
        const std::size_t end = bytes.find('\0');
        arguments.emplace_back(bytes.substr(0, end));
        bytes.remove_prefix(end == std::string_view::npos ? bytes.size() : end + 1);
    }
    return arguments;
}

// The program takes the argument after --output or --scene as its value unless it is an option.
bool is_path_value(const std::vector<std::string>& arguments, std::size_t i)
{
    return i > 0 && (arguments[i - 1] == "--output" || arguments[i - 1] == "--scene") &&
           !std::string_view(arguments[i]).starts_with("--");
}

// The program's arguments for the input's, or an empty list for an input that could leave the folder.
std::vector<std::string> contained(const std::vector<std::string>& input)
{
    const std::string folder = workspace().folder().string() + "/";
    std::vector<std::string> arguments = {"--output", folder + "kyrox-frames", "--size", "16", "9", "--frames", "0",
                                          "0"};
    for (std::size_t i = 0; i < input.size(); ++i) {
        if (!is_path_value(input, i)) {
            arguments.push_back(input[i]);
        } else if (input[i].find('/') != std::string::npos || input[i] == "..") {
            return {};
        } else {
            arguments.push_back(folder + input[i]);
        }
    }
    return arguments;
}

A_long pixels(A_long width, A_long height, int downsample)
{
    return std::max<A_long>(width / downsample, 1) * std::max<A_long>(height / downsample, 1);
}

// The options' work stays within a few hundred pixels per render and two frames; arguments the
// program refuses cost nothing.
bool small_enough(std::span<const std::string_view> arguments)
{
    constexpr A_long most_pixels = 512;
    constexpr A_long most_frames = 2;
    minihost::RenderOptions o;
    try {
        o = minihost::parse_render_options(arguments);
    } catch (const minihost::UsageError&) {
        return true;
    }
    if (o.contact_sheet) {
        const minihost::TileLayout layout{o.reference_width, o.reference_height, o.width, o.height};
        return pixels(o.width, o.height, 1) <= most_pixels &&
               pixels(o.reference_width, o.reference_height, minihost::tile_downsample(layout)) <= most_pixels;
    }
    const A_long per_frame = o.smoke ? pixels(o.width, o.height, 1) : pixels(o.width, o.height, o.downsample);
    return per_frame <= most_pixels && o.last_frame - o.first_frame < most_frames;
}

bool starts_a_line(const std::string& text, std::string_view what)
{
    return text.starts_with(what) || text.find("\n" + std::string(what)) != std::string::npos;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::vector<std::string> arguments = contained(split_at_nul({reinterpret_cast<const char*>(data), size}));
    if (arguments.empty()) {
        return -1;
    }
    const std::vector<std::string_view> views(arguments.begin(), arguments.end());
    if (!small_enough(views)) {
        return -1;
    }
    std::ostringstream out;
    std::ostringstream err;
    const int exit_code = minihost::run_kyrox_render(views, out, err, minihost::StopRequest::never(), open_built_in);
    workspace().empty();
    if (exit_code == 0) {
        return 0;
    }
    if (exit_code != 1 && exit_code != 2) {
        broken("exit code " + std::to_string(exit_code));
    }
    if (!starts_a_line(err.str(), "kyrox-render: ")) {
        broken("exit code " + std::to_string(exit_code) + " without a message; standard error: " + err.str());
    }
    return 0;
}
