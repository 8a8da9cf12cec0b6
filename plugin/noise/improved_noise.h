#pragma once

namespace kyrox {

// w is carried along with the point and never read.
struct NoisePoint {
    float x, y, z, w;
};

// Improved Perlin noise at (x, y, z); 0 at every integer point.
float gradient_noise2(const NoisePoint& point);

// Octave sum of folded noise, 1 + sum of (2 |n| - 1) / 2^k, with x and y doubled per octave and z kept (it
// carries time). 0 or fewer octaves give exactly 1; counts above max_noise_octaves sum that many.
float fractal_noise2(const NoisePoint& point, int octaves);

}  // namespace kyrox
