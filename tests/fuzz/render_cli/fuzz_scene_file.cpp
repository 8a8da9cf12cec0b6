// Arbitrary bytes as a scene file: loaded into the small host over a session of the plug-in built in,
// then, when the file loads, one tiny frame rendered at the time the file sets. Promise: the loader
// loads the file or refuses it with a std::runtime_error that says why; the frame renders without a
// host error; nothing crashes, overflows or leaks.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <stdexcept>
#include <string>
#include <string_view>

#include <nlohmann/json.hpp>

#include "minihost/frame_session.h"
#include "minihost/scene_file.h"
#include "plugin/host/command_dispatch.h"

namespace {

[[noreturn]] void broken(const std::string& reason)
{
    std::fprintf(stderr, "fuzz_scene_file: %s\n", reason.c_str());
    std::abort();
}

// The frame is the target's, not the file's: a few hundred pixels keep one input within milliseconds.
constexpr A_long frame_width = 24;
constexpr A_long frame_height = 16;

// What the file may ask of the text layer before the target gives up on the input: the product takes
// layers up to 32768 pixels a side and sizes up to 4096, each far too slow for one input.
constexpr double largest_text_size = 64.0;
constexpr A_long largest_text_side = 64;
constexpr std::size_t longest_text = 64;
constexpr std::string_view only_font = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";

bool above(const nlohmann::json& object, const char* key, double most)
{
    const auto found = object.find(key);
    return found != object.end() && found->is_number() && !(found->get<double>() <= most);
}

// True for a file whose text layer would be costly to set, or set in a font file other than the one
// font (any path could name a device that blocks). Checked on the target's own reading of the file,
// before the loader runs; a file that does not parse goes to the loader as it is.
bool asks_too_much(std::string_view bytes)
{
    const nlohmann::json scene = nlohmann::json::parse(bytes, nullptr, false);
    if (scene.is_discarded() || !scene.is_object()) {
        return false;
    }
    const auto text = scene.find("text");
    if (text == scene.end() || !text->is_object()) {
        return false;
    }
    const auto font = text->find("font");
    const auto line = text->find("text");
    return (font != text->end() && !(font->is_string() && font->get<std::string>() == only_font)) ||
           (line != text->end() && line->is_string() && line->get<std::string>().size() > longest_text) ||
           above(*text, "size", largest_text_size) || above(*text, "width", largest_text_side) ||
           above(*text, "height", largest_text_side);
}

// The input's length picks the frame's depth, so that the three depths' paths are all fuzzed.
int bytes_per_channel_for(std::size_t size)
{
    constexpr int depths[] = {1, 2, 4};
    return depths[size % 3];
}

void render_at_scene_time(minihost::Host& host, A_short bitdepth)
{
    PF_PreRenderOutput pre_render{};
    const PF_Err pre_error = host.smart_pre_render(pre_render, host.pre_render_input(bitdepth));
    const PF_Err error = pre_error != PF_Err_NONE ? pre_error : host.smart_render(bitdepth);
    if (error != PF_Err_NONE && error != PF_Err_OUT_OF_MEMORY) {
        broken("a loaded scene rendered with host error " + std::to_string(error));
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    if (asks_too_much(bytes)) {
        return -1;
    }
    minihost::SessionSettings settings;
    settings.width = frame_width;
    settings.height = frame_height;
    settings.bytes_per_channel = bytes_per_channel_for(size);
    minihost::FrameSession session(&kyrox::plugin_entry, settings);
    std::istringstream file{std::string(bytes)};
    try {
        minihost::load_scene(session.host(), file, "fuzz.json");
    } catch (const std::runtime_error& error) {
        if (std::string_view(error.what()).empty()) {
            broken("a scene file was refused without a reason");
        }
        return 0;
    }
    render_at_scene_time(session.host(), static_cast<A_short>(settings.bytes_per_channel * 8));
    return 0;
}
