#pragma once

namespace kyrox {

// One-dimensional improved noise over the shared permutation; 0 at every integer.
float perlin_noise1(float x);

// Two octaves of perlin_noise1, the second at double rate and half strength.
float flicker_noise(float x);

}  // namespace kyrox
