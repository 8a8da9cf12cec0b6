#pragma once
// The wide paths' row kernel of the noise displacement (or darkening), written once over the lane
// type V (F32x8 with AVX2, F32x16 with AVX-512) and inlined into each path's entry
// (noise_distortion_avx2.cpp, noise_distortion_avx512.cpp), which includes its own
// bilinear_sample_<path>.h first. Each pixel comes out with the bits of the one-at-a-time path.

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "plugin/platform/simd/lanes.h"
#include "plugin/render/distortion/bilinear_sample.h"
#include "plugin/render/distortion/bilinear_sample_wide.h"
#include "plugin/render/distortion/noise_distortion_kernels.h"

namespace kyrox {

// The noise of the pixels at columns (as floats) for sample k: pixel j reads the sample's noise
// rows at (along + j) x 0.5.
template <class V>
KYROX_LANES simd::TwoChannels<V> noise_lanes(const DisplaceRow& row, std::size_t k, V columns) noexcept
{
    const V x = (V(row.along[k]) + columns) * 0.5f;
    if (simd::safe_positions(x)) {
        return simd::bilinear_along(row.noise_rows[k], row.noise_width, x);
    }
    alignas(64) std::array<float, V::size> xs{};
    alignas(64) std::array<float, V::size> first{};
    alignas(64) std::array<float, V::size> second{};
    x.store_aligned(xs.data());
    for (std::size_t l = 0; l < V::size; ++l) {
        const std::array<float, 2> n = bilinear_at(row.noise_rows[k], row.noise_width, xs[l]);
        first[l] = n[0];
        second[l] = n[1];
    }
    return {V::load_aligned(first.data()), V::load_aligned(second.data())};
}

// The source plane's values at (x, y).
template <class V>
KYROX_LANES V source_lanes(ConstPlaneView source, V x, V y) noexcept
{
    if (simd::safe_positions(x) && simd::safe_positions(y)) {
        return simd::bilinear(source, x, y);
    }
    alignas(64) std::array<float, V::size> xs{};
    alignas(64) std::array<float, V::size> ys{};
    alignas(64) std::array<float, V::size> values{};
    x.store_aligned(xs.data());
    y.store_aligned(ys.data());
    for (std::size_t l = 0; l < V::size; ++l) {
        values[l] = sample_bilinear1(source, xs[l], ys[l]);
    }
    return V::load_aligned(values.data());
}

// Multiply: the source pixel (1 at most) darkened by the noise, by amount percent at most.
template <class V>
KYROX_LANES V darken_lanes(const DisplaceRow& row, std::size_t column, simd::TwoChannels<V> noise) noexcept
{
    // 1 where the pixel is 1 or more, else the pixel (NaN included), as the one-at-a-time test.
    const V t = simd::lesser(V(1.0f), V::load(row.source_row.data() + column));
    // The factor where it is greater than 0, else 0 (NaN included).
    return t * simd::positive(multiply_factor<V>(noise.first, noise.second, row.amount));
}

// Writes out[first, first + n) for the largest n <= count that is a multiple of V::size and returns
// n, or declines a displacement whose source plane the gathers cannot reach by returning 0. Groups
// (RunGroups at most) are summed side by side, sample by sample, so the source reads (which wait on
// the noise reads) of many pixels are in flight at once; each pixel still sums in sample order.
template <class V, std::size_t RunGroups>
KYROX_LANES std::size_t displace_lanes(const DisplaceRow& row, std::size_t first, std::size_t count,
                                       std::span<float> out) noexcept
{
    if (row.displace && !simd::gather_fits(row.source)) {
        return 0;
    }
    using Int = typename V::Int;
    constexpr std::size_t lanes = V::size;
    const std::size_t whole = count - count % lanes;
    const V amount(row.amount);
    const V fi(row.row);
    const V divisor(static_cast<float>(row.noise_rows.size()));
    for (std::size_t run = 0; run < whole; run += RunGroups * lanes) {
        const std::size_t groups = std::min(RunGroups, (whole - run) / lanes);
        alignas(64) std::array<float, RunGroups * lanes> sum{};
        for (std::size_t k = 0; k < row.noise_rows.size(); ++k) {
            for (std::size_t g = 0; g < groups; ++g) {
                const std::size_t column = first + run + g * lanes;
                // Columns are ints, so their conversions round as one at a time.
                const V columns = to_float(Int::sequence(static_cast<std::int32_t>(column)));
                const simd::TwoChannels<V> n = noise_lanes(row, k, columns);
                const V m = row.displace ? source_lanes(row.source, amount * n.first + columns, amount * n.second + fi)
                                         : darken_lanes(row, column, n);
                float* const pixel_sum = sum.data() + g * lanes;
                (V::load_aligned(pixel_sum) + m).store_aligned(pixel_sum);
            }
        }
        for (std::size_t g = 0; g < groups; ++g) {
            displaced_pixel<V>(V::load_aligned(sum.data() + g * lanes), divisor)
                .store(out.data() + first + run + g * lanes);
        }
    }
    return whole;
}

}  // namespace kyrox
