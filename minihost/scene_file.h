#pragma once

#include <string>

#include "minihost/host.h"

namespace minihost {

// Describes the composition for a command-line run from a small JSON file (native build only):
//   "time": {"current", "step", "local_step", "scale"}, "downsample": [num, den],
//   "pixel_aspect": [num, den], "layer_flags", "comp_flags",
//   "params": {"<id>": value}  (number for sliders, popups, checkboxes and angles in degrees,
//                               [x, y] for points, [r, g, b] for colours),
//   "keyframes": [{"id", "time", "value"}],
//   "masks": [{"open", "keys": [{"time", "vertices": [[x, y, in dx, in dy, out dx, out dy], ...]}]}],
//   "text": {"font", "text", "size", "x", "y", "width", "height", "id"}
// Parameters must be set up already. Throws std::runtime_error on a file it cannot use.
void load_scene_file(Host& host, const std::string& path);

}  // namespace minihost
