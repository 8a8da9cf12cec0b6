#pragma once

#include <array>

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

// fractal_noise2 of four points at once with SSE2, each lane computing exactly what fractal_noise2
// computes. Returns false, writing nothing, when a coordinate leaves the range where that holds
// (beyond 2^30 in magnitude, or NaN); the caller then takes the points one at a time.
bool fractal_noise2_x4(const std::array<NoisePoint, 4>& points, int octaves, std::array<float, 4>& out);

// The same for eight points with AVX2, declining like fractal_noise2_x4. Only on the AVX2 path
// (simd::widest_path()).
bool fractal_noise2_x8(const std::array<NoisePoint, 8>& points, int octaves, std::array<float, 8>& out);

// The same for sixteen points with AVX-512, declining like fractal_noise2_x4. Only on the AVX-512
// path (simd::widest_path()).
bool fractal_noise2_x16(const std::array<NoisePoint, 16>& points, int octaves, std::array<float, 16>& out);

// The three by their width, for callers written once for all.
inline bool fractal_noise2_lanes(const std::array<NoisePoint, 4>& points, int octaves, std::array<float, 4>& out)
{
    return fractal_noise2_x4(points, octaves, out);
}
inline bool fractal_noise2_lanes(const std::array<NoisePoint, 8>& points, int octaves, std::array<float, 8>& out)
{
    return fractal_noise2_x8(points, octaves, out);
}
inline bool fractal_noise2_lanes(const std::array<NoisePoint, 16>& points, int octaves, std::array<float, 16>& out)
{
    return fractal_noise2_x16(points, octaves, out);
}

}  // namespace kyrox
