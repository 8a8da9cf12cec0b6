#pragma once

#include <span>
#include <vector>

#include "plugin/host/path_flatten.h"
#include "plugin/render/render_inputs.h"

namespace kyrox {

// What decides which part of an outline is kept and how wide the core is along it.
struct PathWindow {
    float start_offset = 0.0f;  // fractions of the outline's length, in either order
    float end_offset = 1.0f;
    float evolution = 0.0f;   // shift of the outline's start, in turns, within (−1, 1)
    bool offset_size = true;  // the size ramp spans the kept part (on) or the whole outline (off)
    float start_half_width = 0.0f;
    float end_half_width = 0.0f;
    float start_cap = 0.0f;
    float end_cap = 0.0f;
};

// Appends the pieces of a flattened outline that lie inside the window; an outline of no length,
// or of a length beyond the float range, yields none.
void cut_path_pieces(std::span<const FlatPoint> points, const PathWindow& window,
                     std::vector<std::vector<PathPoint>>& pieces);

}  // namespace kyrox
