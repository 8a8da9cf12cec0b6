#pragma once

#include <cstdint>

namespace kyrox {

// The plane area around the core outline that the box blurs and the hot-core cut work on:
// columns x0 <= x < x1, rows y0 <= y < y1.
struct CoreRect {
    std::int32_t x0 = 0;
    std::int32_t y0 = 0;
    std::int32_t x1 = 0;
    std::int32_t y1 = 0;
};

}  // namespace kyrox
