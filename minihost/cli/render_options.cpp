#include "minihost/cli/render_options.h"

#include <cerrno>
#include <cstdlib>

#include "plugin/resources/effect_version.h"

namespace minihost {
namespace {

constexpr A_long largest_frame_side = 32768;

constexpr long largest_frame_number = 65536;
constexpr long largest_downsample = 256;

// The arguments in order, with the values each option takes after it.
class Arguments {
public:
    explicit Arguments(std::span<const std::string_view> arguments) : arguments_(arguments) {}

    bool done() const noexcept { return at_ >= arguments_.size(); }
    std::string next() { return std::string(arguments_[at_++]); }

    // The next of `count` values of `option`. An argument that starts with "--" is the next option,
    // not a value.
    std::string value_of(const std::string& option, int count)
    {
        if (done() || arguments_[at_].starts_with("--")) {
            throw UsageError(option + (count == 1 ? " needs a value" : " needs " + std::to_string(count) + " values"));
        }
        return next();
    }

private:
    std::span<const std::string_view> arguments_;
    std::size_t at_ = 0;
};

// `text` as a whole number from least to most, or UsageError naming the option, the value's role
// and the range: "--size: width must be 1 to 32768, not 0".
long number_of(const std::string& option, const char* role, const std::string& text, long least, long most)
{
    char* end = nullptr;
    errno = 0;
    const long value = std::strtol(text.c_str(), &end, 10);
    if (text.empty() || end != text.data() + text.size() || errno != 0 || value < least || value > most) {
        throw UsageError(option + ": " + role + " must be " + std::to_string(least) + " to " + std::to_string(most) +
                         ", not " + text);
    }
    return value;
}

}  // namespace

RenderOptions parse_render_options(std::span<const std::string_view> arguments)
{
    RenderOptions o;
    Arguments args(arguments);
    while (!args.done()) {
        const std::string arg = args.next();
        if (arg == "--help" || arg == "-h") {
            o.help = true;
        } else if (arg == "--version") {
            o.version = true;
        } else if (arg == "--plugin") {
            o.plugin = args.value_of(arg, 1);
        } else if (arg == "--size") {
            const std::string width = args.value_of(arg, 2);
            const std::string height = args.value_of(arg, 2);
            o.width = number_of(arg, "width", width, 1, largest_frame_side);
            o.height = number_of(arg, "height", height, 1, largest_frame_side);
        } else if (arg == "--reference") {
            const std::string width = args.value_of(arg, 2);
            const std::string height = args.value_of(arg, 2);
            o.reference_width = number_of(arg, "width", width, 1, largest_frame_side);
            o.reference_height = number_of(arg, "height", height, 1, largest_frame_side);
            o.reference_given = true;
        } else if (arg == "--depth") {
            const std::string depth = args.value_of(arg, 1);
            if (depth != "8" && depth != "16" && depth != "32") {
                throw UsageError("--depth must be 8, 16 or 32, not " + depth);
            }
            o.bitdepth = static_cast<A_short>(std::stoi(depth));
        } else if (arg == "--downsample") {
            o.downsample = static_cast<int>(number_of(arg, "factor", args.value_of(arg, 1), 1, largest_downsample));
        } else if (arg == "--frames") {
            const std::string first = args.value_of(arg, 2);
            const std::string last = args.value_of(arg, 2);
            o.first_frame = number_of(arg, "first", first, 0, largest_frame_number);
            o.last_frame = number_of(arg, "last", last, 0, largest_frame_number);
            if (o.last_frame < o.first_frame) {
                throw UsageError("--frames: the last frame comes before the first");
            }
        } else if (arg == "--output") {
            o.output = args.value_of(arg, 1);
        } else if (arg == "--preset") {
            o.preset = args.value_of(arg, 1);
        } else if (arg == "--scene") {
            o.scene_file = args.value_of(arg, 1);
        } else if (arg == "--contact-sheet") {
            o.contact_sheet = true;
        } else if (arg == "--list-params") {
            o.list_params = true;
        } else if (arg == "--smoke") {
            o.smoke = true;
        } else if (arg == "--dump-scene") {
            o.dump_scene = true;
        } else {
            throw UsageError("unknown argument " + arg);
        }
    }
    if (o.reference_given && !o.contact_sheet) {
        throw UsageError("--reference sets the frame a contact sheet's tiles stand for: use it with --contact-sheet");
    }
    if (o.contact_sheet && o.downsample != 1) {
        throw UsageError("--downsample does not apply to --contact-sheet: the tiles' factor follows from --reference "
                         "and --size");
    }
    if (o.plugin.empty() && !o.dump_scene && !o.help && !o.version) {
        throw UsageError("no plug-in file: name it with --plugin FILE");
    }
    return o;
}

void print_usage(std::ostream& out)
{
    out << "usage: kyrox-render --plugin FILE [--preset NAME] [--size WIDTH HEIGHT] [--depth 8|16|32]\n"
           "                    [--downsample N] [--frames FIRST LAST] [--output FOLDER]\n"
           "                    [--contact-sheet [--reference WIDTH HEIGHT]] [--scene FILE.json] [--list-params]\n"
           "                    [--smoke]\n"
           "       kyrox-render --dump-scene [--scene FILE.json] [--size WIDTH HEIGHT] [--depth 8|16|32]\n"
           "                    [--downsample N]\n"
           "       kyrox-render --help | --version\n"
           "\n"
           "Renders frames of a built-in preset on an animated blade into FOLDER (default kyrox-frames):\n"
           "8-bit and 16-bit frames as PNG, 32-bit (float) frames as OpenEXR. WIDTH and HEIGHT are 1 to "
        << largest_frame_side
        << ";\n"
           "--downsample N renders at 1/N of that size, as a host's reduced-resolution preview does.\n"
           "--contact-sheet renders one frame of every preset into FOLDER/contact_sheet.png, each tile of\n"
           "--size showing the preset as it looks on a frame of --reference size (default 1920 x 1080),\n"
           "drawn at reduced resolution as a host's preview is.\n"
           "--scene describes the composition (parameters, keyframes, masks, text) in a JSON file.\n"
           "--list-params prints the parameters after the preset and scene; --smoke runs the plug-in's\n"
           "commands once and prints what the host received; --dump-scene prints the scene one frame\n"
           "gathers, with the plug-in built into this program.\n";
}

std::string version_text()
{
    return "kyrox-render " + std::to_string(KYROX_VERSION_MAJOR) + "." + std::to_string(KYROX_VERSION_MINOR) + "." +
           std::to_string(KYROX_VERSION_BUILD);
}

}  // namespace minihost
