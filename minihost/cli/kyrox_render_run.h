#pragma once

#include <functional>
#include <memory>
#include <ostream>
#include <span>
#include <string>
#include <string_view>

#include "hostapi/pf_entry.h"
#include "minihost/cli/stop_request.h"
#include "minihost/plugin_module.h"

namespace minihost {

// The plug-in --plugin names, ready to drive: its entry point and the loaded file that holds it.
struct OpenPlugin {
    std::unique_ptr<PluginModule> module;  // null for a plug-in built into the caller
    PF_EntryPointFunc entry = nullptr;
};

// How kyrox-render gets the plug-in --plugin names; throws std::runtime_error when it cannot.
using PluginOpener = std::function<OpenPlugin(const std::string& file)>;

// The file loaded with PluginModule, as the program does.
OpenPlugin load_plugin_file(const std::string& file);

// kyrox-render with the arguments after the program's name: what the program prints goes to `out`
// and `err`, and the result is its exit code (0; 1 when the run fails or `out` cannot be written; 2 for
// bad arguments or an unknown preset; 128 + the signal when `stop` is requested, which a sequence or a
// contact sheet heeds after the frame or tile in hand). Nothing escapes but what the program's own
// main would not catch either.
int run_kyrox_render(std::span<const std::string_view> arguments, std::ostream& out, std::ostream& err,
                     const StopRequest& stop, const PluginOpener& open_plugin = load_plugin_file);

}  // namespace minihost
