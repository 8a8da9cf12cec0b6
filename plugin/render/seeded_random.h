#pragma once

#include <cstdint>
#include <random>

namespace kyrox {

// The minimal-standard generator (x <- 48271 x mod 2^31 - 1) seeded with the bits of a signed seed read as
// an unsigned 32-bit number, so that every platform, whatever the width of the generator's result
// type, starts from the same state: 0, -1 and -2 seed 1, -3 seeds 2147483646.
inline std::minstd_rand seeded_generator(std::int32_t seed)
{
    return std::minstd_rand(static_cast<std::uint32_t>(seed));
}

// One draw turned into a float in [0, 1) with 24 bits of precision.
inline float canonical_draw(std::minstd_rand& generator)
{
    return std::generate_canonical<float, 24>(generator);
}

}  // namespace kyrox
