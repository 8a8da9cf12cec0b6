#pragma once

#include <istream>
#include <string>

#include "minihost/host.h"

namespace minihost {

// Describes the composition for a command-line run from a small JSON file (native build only):
//   "time": {"current", "step", "local_step", "scale"}, "downsample": [num, den],
//   "pixel_aspect": [num, den], "layer_flags", "comp_flags",
//   "params": {"<id>": value}  (number for sliders, popups and angles in degrees, true or false for
//                               checkboxes, [x, y] for points, [r, g, b] for colours),
//   "keyframes": [{"id", "time", "value"}],
//   "masks": [{"open", "keys": [{"time", "vertices": [[x, y, in dx, in dy, out dx, out dy], ...]}]}],
//   "text": {"font", "text", "size", "x", "y", "width", "height", "id"}
// Every number is checked against what it is read into: whole numbers (2.0 as 2; 2.5 refused) within
// their type's range, colour components 0 to 255, angles and points within 16.16 fixed point, mask
// vertices and text positions within a million pixels, text sizes within smallest_text_size to
// largest_text_size, a text layer's sides 1 to 32768. Parameters must be set up already. Throws
// std::runtime_error on a file it cannot use, naming the value's JSON path and the allowed range.
void load_scene_file(Host& host, const std::string& path);

// The same from a stream; `path` names the file in messages.
void load_scene(Host& host, std::istream& file, const std::string& path);

}  // namespace minihost
