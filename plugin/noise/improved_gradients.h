#pragma once

#include <array>
#include <cstddef>

namespace kyrox {

struct GradVector {
    float x, y, z;
};

// The gradient of each hash value h = 0..15 of the improved noise: a is x for h < 8, else y; b is y for
// h < 4, x for h 12 and 14, else z; bits 0 and 1 negate a and b. Spelt out as coefficients, so a sample
// costs a lookup instead of branches the hash makes unpredictable.
inline constexpr std::array<GradVector, 16> grad_vectors = [] {
    std::array<GradVector, 16> table{};
    for (int h = 0; h < 16; ++h) {
        std::array<float, 3> g{};
        const int a = h < 8 ? 0 : 1;
        const int b = h < 4 ? 1 : (h == 12 || h == 14 ? 0 : 2);
        g[static_cast<std::size_t>(a)] += (h & 1) != 0 ? -1.0f : 1.0f;
        g[static_cast<std::size_t>(b)] += (h & 2) != 0 ? -1.0f : 1.0f;
        table[static_cast<std::size_t>(h)] = {g[0], g[1], g[2]};
    }
    return table;
}();

// One coefficient of the 16 gradients as a table of its own, which the wide forms hold in registers
// and look up with permutes.
template <float GradVector::*Component>
inline constexpr std::array<float, 16> grad_component = [] {
    std::array<float, 16> c{};
    for (std::size_t h = 0; h < c.size(); ++h) {
        c[h] = grad_vectors[h].*Component;
    }
    return c;
}();

}  // namespace kyrox
