#include "plugin/noise/flicker_noise.h"

#include "plugin/noise/interpolation.h"
#include "plugin/noise/noise_floor.h"
#include "plugin/noise/permutation_table.h"

#include <cstddef>

namespace kyrox {

float perlin_noise1(float x)
{
    const float f = noise_floor(x);
    const auto cell = static_cast<std::size_t>(noise_cell_index(f));
    const float t = x - f;
    const float g0 = (permutation_table[cell] & 1) != 0 ? -t : t;
    const float g1 = (permutation_table[cell + 1] & 1) != 0 ? -(t - 1.0f) : t - 1.0f;
    return g0 + noisepp::interp_quintic(t) * (g1 - g0);
}

float flicker_noise(float x)
{
    return perlin_noise1(x) + 0.5f * perlin_noise1(2.0f * x);
}

}  // namespace kyrox
