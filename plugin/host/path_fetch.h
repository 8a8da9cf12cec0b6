#pragma once

#include <vector>

#include "plugin/host/ae_plugin_connection.h"
#include "plugin/host/command_context.h"
#include "plugin/host/path_flatten.h"
#include "plugin/host/suite_handler.h"

namespace kyrox {

// Where outlines are fetched: the effect's layer, its composition and the frame's composition time.
struct PathSource {
    AEGP_LayerH layer = nullptr;
    AEGP_CompH comp = nullptr;
    A_Time comp_time{};
};

// The closed glyph outlines of the layer chosen in Text Layer (open ones are skipped), with the
// x axis corrected for the pixel aspect of that layer against the composition's.
std::vector<FetchedPath> fetch_text_paths(const AePluginConnection& instance, const CommandContext& context,
                                          suite_handler& suites, const PathSource& source);

// Every mask outline of the effect's layer, as the host stores it.
std::vector<FetchedPath> fetch_mask_paths(const AePluginConnection& instance, suite_handler& suites,
                                          const PathSource& source);

}  // namespace kyrox
