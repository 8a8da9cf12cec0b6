#pragma once

#include <cstdint>

namespace noisepp {

// One axis of the lattice cell around a coordinate: the two corner indices as the hash uses them (wrapping
// 32-bit integers) and the coordinate's offsets from the two corners.
struct LatticeAxis {
    std::uint32_t i0, i1;
    float d0, d1;
};

// Blends the eight corner values of a cell along x, then y, then z with the given weights.
float gradient_noise3(const LatticeAxis& x, const LatticeAxis& y, const LatticeAxis& z, float sx, float sy, float sz,
                      int seed);

float gradient_noise3_std(float x, float y, float z, int seed);   // cubic weights
float gradient_noise3_best(float x, float y, float z, int seed);  // quintic weights
float gradient_noise3_fast(float x, float y, float z, int seed);  // linear weights

}  // namespace noisepp
