#pragma once

#include <filesystem>
#include <ostream>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>

#include "hostapi/pf_basic_types.h"

namespace minihost {

// kyrox-render's command line.
struct RenderOptions {
    std::string plugin;
    A_long width = 640;
    A_long height = 360;
    A_short bitdepth = 8;
    int downsample = 1;
    A_long first_frame = 0;
    A_long last_frame = 11;
    std::string preset = "Default";
    std::filesystem::path output = "kyrox-frames";
    std::string scene_file;
    // The frame each contact sheet tile stands for; --size is the tile's size.
    A_long reference_width = 1920;
    A_long reference_height = 1080;
    bool reference_given = false;
    bool contact_sheet = false;
    bool list_params = false;
    bool smoke = false;
    bool dump_scene = false;
    bool help = false;
    bool version = false;
};

// A command line kyrox-render cannot run: the message names the argument and what it must be.
class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The options of the arguments after the program's name. Throws UsageError.
RenderOptions parse_render_options(std::span<const std::string_view> arguments);

void print_usage(std::ostream& out);

// "kyrox-render 1.0.39".
std::string version_text();

}  // namespace minihost
