#include "plugin/noise/improved_noise.h"

#include "plugin/noise/interpolation.h"
#include "plugin/noise/noise_floor.h"
#include "plugin/noise/octave_limit.h"
#include "plugin/noise/permutation_table.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>

namespace kyrox {
namespace {

// Indices stay below 512: a cell index and a permutation entry are each at most 255.
int perm(int index) { return permutation_table[static_cast<std::size_t>(index)]; }

struct GradVector {
    float x, y, z;
};

// The gradient of each hash value h = 0..15: a is x for h < 8, else y; b is y for h < 4, x for h 12 and 14,
// else z; bits 0 and 1 negate a and b. Spelt out as coefficients, so a sample costs a lookup instead of
// branches the hash makes unpredictable.
constexpr std::array<GradVector, 16> grad_vectors = [] {
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

float grad(int hash, float x, float y, float z)
{
    const GradVector& g = grad_vectors[static_cast<std::size_t>(hash & 15)];
    return g.x * x + g.y * y + g.z * z;
}

float lerp(float t, float a, float b) { return a + t * (b - a); }

}  // namespace

float gradient_noise2(const NoisePoint& point)
{
    const float fx = noise_floor(point.x);
    const float fy = noise_floor(point.y);
    const float fz = noise_floor(point.z);
    const int cx = noise_cell_index(fx);
    const int cy = noise_cell_index(fy);
    const int cz = noise_cell_index(fz);
    const float x = point.x - fx;
    const float y = point.y - fy;
    const float z = point.z - fz;
    const float u = noisepp::interp_quintic(x);
    const float v = noisepp::interp_quintic(y);
    const float w = noisepp::interp_quintic(z);

    const int a = perm(cx) + cy;
    const int aa = perm(a) + cz;
    const int ab = perm(a + 1) + cz;
    const int b = perm(cx + 1) + cy;
    const int ba = perm(b) + cz;
    const int bb = perm(b + 1) + cz;

    return lerp(w,
                lerp(v, lerp(u, grad(perm(aa), x, y, z), grad(perm(ba), x - 1, y, z)),
                     lerp(u, grad(perm(ab), x, y - 1, z), grad(perm(bb), x - 1, y - 1, z))),
                lerp(v, lerp(u, grad(perm(aa + 1), x, y, z - 1), grad(perm(ba + 1), x - 1, y, z - 1)),
                     lerp(u, grad(perm(ab + 1), x, y - 1, z - 1), grad(perm(bb + 1), x - 1, y - 1, z - 1))));
}

float fractal_noise2(const NoisePoint& point, int octaves)
{
    if (octaves <= 0) {
        return 1.0f;
    }
    const int count = std::min(octaves, max_noise_octaves);
    NoisePoint p = point;
    float sum = 0.0f;
    float amplitude = 1.0f;
    for (int i = 0; i < count; ++i) {
        const float n = gradient_noise2(p);
        p.x *= 2.0f;
        p.y *= 2.0f;
        sum += (2.0f * std::fabs(n) - 1.0f) * amplitude;
        amplitude *= 0.5f;
    }
    return sum + 1.0f;
}

}  // namespace kyrox
