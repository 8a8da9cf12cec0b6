#include "plugin/noise/ridged_multi_element.h"

#include "plugin/noise/gradient_noise3.h"
#include "plugin/noise/gradient_table.h"
#include "plugin/noise/octave_limit.h"
#include "plugin/noise/octave_steps.h"
#include "plugin/noise/ridged_multi_element_wide.h"
#include "plugin/platform/simd/lanes.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>

namespace noisepp {

float ridged_wrap(float v)
{
    constexpr float limit = 1073741824.0f;
    if (v >= limit) {
        return 2.0f * std::fmod(v, limit) - limit;
    }
    if (v <= -limit) {
        return 2.0f * std::fmod(v, limit) + limit;
    }
    return v;
}

RidgedMultiElement3D::RidgedMultiElement3D(int octave_count, float frequency, float lacunarity, float exponent,
                                           float offset, float gain, int seed, int quality)
    : quality_(quality), offset_(offset), gain_(gain)
{
    const int count = std::clamp(octave_count, 0, kyrox::max_noise_octaves);
    octaves_.reserve(static_cast<std::size_t>(count));
    float f = frequency;
    for (int i = 0; i < count; ++i) {
        // Unsigned, so seed 0x7fffffff + 1 wraps to 0 instead of overflowing.
        const std::uint32_t octave_seed = (static_cast<std::uint32_t>(seed) + static_cast<std::uint32_t>(i)) &
                                          0x7fffffffu;
        octaves_.push_back({static_cast<std::int32_t>(octave_seed), f, std::pow(f, -exponent)});
        f *= lacunarity;
    }
}

template <float (*Noise)(float, float, float, int)>
float RidgedMultiElement3D::ridged_sum(float x, float y, float z) const
{
    float weight = 1.0f;
    float sum = 0.0f;
    for (const RidgedOctave& octave : octaves_) {
        const float n = Noise(ridged_wrap(x * octave.frequency), ridged_wrap(y * octave.frequency),
                              ridged_wrap(z * octave.frequency), octave.seed);
        ridged_octave(n, offset_, gain_, octave.spectral_weight, weight, sum);
    }
    return sum * 1.25f - 1.0f;
}

float RidgedMultiElement3D::value(float x, float y, float z, PipelineCacheRecord* /*cache*/) const
{
    switch (quality_) {
    case 1:
        return ridged_sum<gradient_noise3_std>(x, y, z);
    case 2:
        return ridged_sum<gradient_noise3_best>(x, y, z);
    default:
        return ridged_sum<gradient_noise3_fast>(x, y, z);
    }
}

namespace {

// Row loads and a transpose.
GradientLanes<kyrox::simd::F32x4> gradient_rows4(kyrox::simd::I32x4 row)
{
    alignas(16) std::array<std::int32_t, 4> index{};
    row.store_aligned(index.data());
    const auto load = [&](std::size_t l) {
        return _mm_loadu_ps(&gradient_table[static_cast<std::size_t>(index[l])].x);
    };
    __m128 x = load(0);
    __m128 y = load(1);
    __m128 z = load(2);
    __m128 w = load(3);
    _MM_TRANSPOSE4_PS(x, y, z, w);
    return {x, y, z};
}

}  // namespace

bool RidgedMultiElement3D::value4(const std::array<float, 4>& x, const std::array<float, 4>& y,
                                  const std::array<float, 4>& z, std::array<float, 4>& out) const
{
    return quality_ == 1 &&
           ridged_sum_lanes<kyrox::simd::F32x4, gradient_rows4>(octaves_, offset_, gain_, x, y, z, out);
}

}  // namespace noisepp
