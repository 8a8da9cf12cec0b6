#include "plugin/render/distortion/bilinear_sample.h"

#include "plugin/noise/noise_floor.h"

#include <array>
#include <cstddef>
#include <cstdint>

namespace kyrox {
namespace {

// The cell index int(v), clamped to [0, count - 1]. Positions beyond the int range and NaN (which the
// plain conversion cannot take) land on an edge like any other position outside the plane.
std::int64_t cell_index(float v) noexcept
{
    if (!(v > int_range_low)) {
        return 0;
    }
    if (!(v < int_range_end)) {
        return static_cast<std::int64_t>(int_range_end);
    }
    return static_cast<std::int64_t>(static_cast<std::int32_t>(v));
}

std::size_t clamp_index(std::int64_t index, std::int32_t count) noexcept
{
    if (index < 0) {
        return 0;
    }
    return static_cast<std::size_t>(index < count ? index : count - 1);
}

template <std::size_t Channels>
std::array<float, Channels> sample_cells(const WorldView& view, float x, float y) noexcept
{
    const float fx = noise_floor(x);
    const float fy = noise_floor(y);
    const std::int64_t c = cell_index(fx + 0.5f);
    const std::int64_t r = cell_index(fy + 0.5f);
    const std::size_t c0 = clamp_index(c, view.width);
    const std::size_t c1 = clamp_index(c + 1, view.width);
    const std::size_t r0 = clamp_index(r, view.height);
    const std::size_t r1 = clamp_index(r + 1, view.height);
    const float tx = x - fx;
    const float ty = y - fy;

    const auto* base = static_cast<const unsigned char*>(view.data);
    const auto row = [&](std::size_t i) {
        return reinterpret_cast<const float*>(base + i * static_cast<std::size_t>(view.row_bytes));
    };
    const float* top = row(r0);
    const float* bottom = row(r1);
    std::array<float, Channels> result{};
    for (std::size_t k = 0; k < Channels; ++k) {
        result[k] = (1.0f - ty) * ((1.0f - tx) * top[c0 * Channels + k] + tx * top[c1 * Channels + k]) +
                    ty * ((1.0f - tx) * bottom[c0 * Channels + k] + tx * bottom[c1 * Channels + k]);
    }
    return result;
}

}  // namespace

NoiseCell sample_bilinear(const WorldView& noise, float x, float y)
{
    const std::array<float, 2> v = sample_cells<2>(noise, x, y);
    return {v[0], v[1]};
}

float sample_bilinear1(const WorldView& plane, float x, float y) { return sample_cells<1>(plane, x, y)[0]; }

}  // namespace kyrox
