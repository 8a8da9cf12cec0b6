#pragma once

#include <ostream>
#include <string>

#include "hostapi/pf_basic_types.h"

namespace minihost {

struct SceneDumpRequest {
    std::string scene_file;  // empty: the effect's defaults
    A_long width = 640;      // full-resolution frame size
    A_long height = 360;
    A_short bitdepth = 8;
    int downsample = 1;  // 2 gathers the frame of a half-resolution preview
};

// Runs the plug-in built into this program through set-up and pre-render of one frame, gathers that
// frame's scene and distortion settings and prints them to `out`; the plug-in's start-up banner goes to
// `err` as a line of its own. Returns the process exit code; throws std::runtime_error for a scene file
// it cannot use, with the plug-in set down.
int dump_scene(std::ostream& out, std::ostream& err, const SceneDumpRequest& request);

}  // namespace minihost
