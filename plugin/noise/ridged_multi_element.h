#pragma once

#include <array>

#include "plugin/noise/pipeline_element.h"

#include <cstdint>
#include <span>
#include <vector>

namespace noisepp {

struct RidgedOctave {
    std::int32_t seed;
    float frequency;
    float spectral_weight;
};
static_assert(sizeof(RidgedOctave) == 12);

// Folds a scaled coordinate at or beyond +-2^30 back into range, where float offsets inside a lattice cell
// still have precision.
float ridged_wrap(float v);

// Ridged multifractal: octaves of gradient noise, each folded into ridges around the offset and weighted by
// the one before.
class RidgedMultiElement3D final : public PipelineElement3D {
public:
    // Counts below 0 build no octaves; counts above kyrox::max_noise_octaves build that many. Quality 1 blends
    // cubically, 2 quintically, anything else linearly.
    RidgedMultiElement3D(int octave_count, float frequency, float lacunarity, float exponent, float offset, float gain,
                         int seed, int quality);

    // The cache is not used.
    float value(float x, float y, float z, PipelineCacheRecord* cache) const override;
    // value at four points at once with SSE2, each lane computing exactly what value computes.
    // Returns false, writing nothing, unless the quality is 1 and every scaled coordinate lies
    // within +-2^30 (where no wrap applies).
    bool value4(const std::array<float, 4>& x, const std::array<float, 4>& y, const std::array<float, 4>& z,
                std::array<float, 4>& out) const;
    // The same for eight points with AVX2, declining like value4. Only on the AVX2 path
    // (kyrox::simd::widest_path()).
    bool value8(const std::array<float, 8>& x, const std::array<float, 8>& y, const std::array<float, 8>& z,
                std::array<float, 8>& out) const;
    // The same for sixteen points with AVX-512, declining like value4. Only on the AVX-512 path.
    bool value16(const std::array<float, 16>& x, const std::array<float, 16>& y, const std::array<float, 16>& z,
                 std::array<float, 16>& out) const;
    // The three by their width, for callers written once for all.
    bool values(const std::array<float, 4>& x, const std::array<float, 4>& y, const std::array<float, 4>& z,
                std::array<float, 4>& out) const
    {
        return value4(x, y, z, out);
    }
    bool values(const std::array<float, 8>& x, const std::array<float, 8>& y, const std::array<float, 8>& z,
                std::array<float, 8>& out) const
    {
        return value8(x, y, z, out);
    }
    bool values(const std::array<float, 16>& x, const std::array<float, 16>& y, const std::array<float, 16>& z,
                std::array<float, 16>& out) const
    {
        return value16(x, y, z, out);
    }

    std::span<const RidgedOctave> octaves() const { return octaves_; }

private:
    template <float (*Noise)(float, float, float, int)>
    float ridged_sum(float x, float y, float z) const;

    std::vector<RidgedOctave> octaves_;
    int quality_;
    float offset_;
    float gain_;
};

}  // namespace noisepp
