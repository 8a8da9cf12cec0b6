// The eight-pixel colourising path must store the very bytes the one-pixel path stores, for every
// intensity the planes can hold (negative, NaN, infinite, on and between ramp entries) and every
// row length, whose last few pixels it leaves to the one-pixel path.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <vector>

#include "plugin/platform/simd/simd_path.h"
#include "plugin/render/pixels/output_jobs_kernels.h"
#include "plugin/render/pixels/pixel_depth.h"

namespace kyrox {
namespace {

// A ramp with a different colour in every entry, some lanes negative so the clamp at 0 matters.
ColorRamp varied_ramp()
{
    ColorRamp ramp(color_ramp_length);
    for (std::size_t i = 0; i < ramp.size(); ++i) {
        const float f = static_cast<float>(i) / 255.0f;
        ramp[i].lanes = {f, 1.0f - f, std::sin(0.1f * static_cast<float>(i)), 0.3f + 0.9f * f};
    }
    return ramp;
}

// Plane values that exercise every branch of the intensity and the ramp lookup.
std::vector<float> cell_values(std::size_t count, float phase)
{
    const float specials[] = {0.0f,
                              -0.0f,
                              -0.5f,
                              1.0f,
                              1.5f,
                              255.5f / 256.0f,
                              100.0f / 256.0f,
                              1e-30f,
                              3e38f,
                              std::numeric_limits<float>::infinity(),
                              -std::numeric_limits<float>::infinity(),
                              std::numeric_limits<float>::quiet_NaN()};
    std::vector<float> values(count);
    for (std::size_t j = 0; j < count; ++j) {
        values[j] = j % 5 == 4 ? specials[(j / 5 + static_cast<std::size_t>(phase * 7.0f)) % std::size(specials)]
                               : std::fmod(0.037f * static_cast<float>(j) + phase, 1.2f) - 0.05f;
    }
    return values;
}

std::uint32_t bytes_of(const Pixel<std::uint8_t>& p)
{
    std::uint32_t v = 0;
    std::memcpy(&v, &p, sizeof(v));
    return v;
}

TEST(WideColorize, EightPixelsAtOnceStoreTheOnePixelBytes)
{
    if (simd::widest_path() < simd::SimdPath::avx2) {
        GTEST_SKIP() << "no AVX2 on this processor";
    }
    const ColorRamp ramp = varied_ramp();
    struct Case {
        float brightness;
        float saturation;
        bool core_on_top;
    };
    const Case cases[] = {{1.0f, 1.0f, false},
                          {0.8f, 0.4f, false},
                          {1.3f, 1.6f, true},
                          {2.0f, std::numeric_limits<float>::quiet_NaN(), true},
                          {0.0f, 0.0f, false}};
    for (const Case& c : cases) {
        for (std::size_t length = 0; length <= 67; length += 1 + length / 8) {
            const std::vector<float> glow = cell_values(length, 0.1f);
            const std::vector<float> halo = cell_values(length, 0.45f);
            const std::vector<float> core = cell_values(length, 0.8f);
            std::vector<Pixel<std::uint8_t>> out(length, Pixel<std::uint8_t>{7, 7, 7, 7});
            const std::size_t done =
                colorize_row_avx2({glow, halo, core, c.brightness, c.core_on_top}, ramp, c.saturation, out);
            ASSERT_EQ(done, length / 8 * 8);
            for (std::size_t j = 0; j < length; ++j) {
                const float v = screened_intensity(glow[j], halo[j], core[j], c.brightness, c.core_on_top);
                const Pixel<std::uint8_t> expected =
                    j < done ? to_pixel<std::uint8_t>(grade_color(ramp_color(ramp, v), c.saturation, 1.0f))
                             : Pixel<std::uint8_t>{7, 7, 7, 7};
                EXPECT_EQ(bytes_of(out[j]), bytes_of(expected))
                    << "pixel " << j << " of " << length << ", intensity " << v << ", saturation " << c.saturation;
            }
        }
    }
}

}  // namespace
}  // namespace kyrox
