#pragma once

#include <array>
#include <cstdint>

namespace kyrox {

inline constexpr int glow_level_count = 4;

// Where one glow level can be non-zero, as insets in cells from the plane's left, top, right and
// bottom edges.
struct LevelRect {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t right = 0;
    std::int32_t bottom = 0;
};
using LevelRects = std::array<LevelRect, glow_level_count>;

}  // namespace kyrox
