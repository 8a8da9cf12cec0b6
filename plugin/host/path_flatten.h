#pragma once

#include <cstddef>
#include <span>
#include <vector>

namespace kyrox {

// A vertex of an outline as fetched from the host: position and tangents relative to it.
struct PathVertex {
    float x = 0.0f;
    float y = 0.0f;
    float in_dx = 0.0f;
    float in_dy = 0.0f;
    float out_dx = 0.0f;
    float out_dy = 0.0f;
};

// One outline as fetched: its vertices (a closed one repeats its first vertex at the end).
struct FetchedPath {
    std::vector<PathVertex> vertices;
    bool closed = false;
};

struct FlatPoint {
    float x = 0.0f;
    float y = 0.0f;
};

// Outlines beyond these sizes are not drawn: they would take unbounded time and memory.
inline constexpr std::size_t max_outline_vertices = std::size_t{1} << 16;
inline constexpr std::size_t max_flattened_points = std::size_t{1} << 20;

// The outline as a polyline with a point about every two pixels, scaled by d (1 at full resolution,
// 0.5 at half). Empty when the outline has fewer than two vertices, a coordinate that is not finite,
// or would need more than max_flattened_points points.
std::vector<FlatPoint> flatten_path(std::span<const PathVertex> vertices, bool closed, float d);

}  // namespace kyrox
