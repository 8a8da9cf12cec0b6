#include "plugin/render/distortion/noise_distortion_kernels.h"

#include <algorithm>
#include <array>

#include "plugin/render/distortion/bilinear_sample_avx2.h"
#include "plugin/render/distortion/bilinear_sample_avx512.h"

namespace kyrox {

namespace {

constexpr std::size_t lanes = 16;
// Groups summed side by side, sample by sample, so the source reads (which wait on the noise reads)
// of many pixels are in flight at once; four groups fill a block of the job.
constexpr std::size_t run_groups = 4;

// The noise of the pixels at columns (as floats) for sample k: pixel j reads the sample's noise rows
// at (along + j) x 0.5.
KYROX_AVX512_TARGET inline void noise16(const DisplaceRow& row, std::size_t k, __m512 columns, __m512& nx,
                                        __m512& ny) noexcept
{
    const __m512 x = _mm512_mul_ps(_mm512_add_ps(_mm512_set1_ps(row.along[k]), columns), _mm512_set1_ps(0.5f));
    if (simd::safe_positions(simd::F32x16(x))) {
        simd::bilinear16_along(row.noise_rows[k], row.noise_width, x, nx, ny);
        return;
    }
    alignas(64) std::array<float, lanes> xs{};
    alignas(64) std::array<float, lanes> first{};
    alignas(64) std::array<float, lanes> second{};
    _mm512_store_ps(xs.data(), x);
    for (std::size_t l = 0; l < lanes; ++l) {
        const std::array<float, 2> n = bilinear_at(row.noise_rows[k], row.noise_width, xs[l]);
        first[l] = n[0];
        second[l] = n[1];
    }
    nx = _mm512_load_ps(first.data());
    ny = _mm512_load_ps(second.data());
}

// The source plane's values at (x, y).
KYROX_AVX512_TARGET inline __m512 source16(const WorldView& source, __m512 x, __m512 y) noexcept
{
    if (simd::safe_positions(simd::F32x16(x)) && simd::safe_positions(simd::F32x16(y))) {
        return simd::bilinear16(source, x, y);
    }
    alignas(64) std::array<float, lanes> xs{};
    alignas(64) std::array<float, lanes> ys{};
    alignas(64) std::array<float, lanes> values{};
    _mm512_store_ps(xs.data(), x);
    _mm512_store_ps(ys.data(), y);
    for (std::size_t l = 0; l < lanes; ++l) {
        values[l] = sample_bilinear1(source, xs[l], ys[l]);
    }
    return _mm512_load_ps(values.data());
}

// Multiply: the source pixel (1 at most) darkened by the noise, by amount percent at most.
KYROX_AVX512_TARGET inline __m512 darken16(const DisplaceRow& row, std::size_t column, __m512 nx, __m512 ny) noexcept
{
    const __m512 one = _mm512_set1_ps(1.0f);
    // 1 where the pixel is 1 or more, else the pixel (NaN included), as the one-at-a-time test.
    const __m512 t = _mm512_min_ps(one, _mm512_loadu_ps(row.source_row.data() + column));
    // q where it is greater than 0, else 0 (NaN included).
    return _mm512_mul_ps(t, _mm512_max_ps(multiply_factor<simd::F32x16>(nx, ny, row.amount), _mm512_setzero_ps()));
}

KYROX_AVX512_TARGET std::size_t displace_runs(const DisplaceRow& row, std::size_t first, std::size_t whole,
                                              std::span<float> out)
{
    const __m512i lane_index = _mm512_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15);
    const __m512 amount = _mm512_set1_ps(row.amount);
    const __m512 fi = _mm512_set1_ps(row.row);
    const __m512 divisor = _mm512_set1_ps(static_cast<float>(row.noise_rows.size()));
    for (std::size_t run = 0; run < whole; run += run_groups * lanes) {
        const std::size_t groups = std::min(run_groups, (whole - run) / lanes);
        alignas(64) std::array<float, run_groups * lanes> sum{};
        for (std::size_t k = 0; k < row.noise_rows.size(); ++k) {
            for (std::size_t g = 0; g < groups; ++g) {
                const std::size_t column = first + run + g * lanes;
                // Columns are ints, so their conversions round as one at a time.
                const __m512 columns = _mm512_cvtepi32_ps(
                    _mm512_add_epi32(_mm512_set1_epi32(static_cast<std::int32_t>(column)), lane_index));
                __m512 nx;
                __m512 ny;
                noise16(row, k, columns, nx, ny);
                __m512 m;
                if (row.displace) {
                    m = source16(row.source, _mm512_add_ps(_mm512_mul_ps(amount, nx), columns),
                                 _mm512_add_ps(_mm512_mul_ps(amount, ny), fi));
                } else {
                    m = darken16(row, column, nx, ny);
                }
                float* const pixel_sum = sum.data() + g * lanes;
                _mm512_store_ps(pixel_sum, _mm512_add_ps(_mm512_load_ps(pixel_sum), m));
            }
        }
        for (std::size_t g = 0; g < groups; ++g) {
            _mm512_storeu_ps(out.data() + first + run + g * lanes,
                             displaced_pixel<simd::F32x16>(_mm512_load_ps(sum.data() + g * lanes), divisor));
        }
    }
    return whole;
}

}  // namespace

std::size_t displace_avx512(const DisplaceRow& row, std::size_t first, std::size_t count, std::span<float> out)
{
    if (row.displace && !simd::gather_fits(row.source)) {
        return 0;
    }
    return displace_runs(row, first, count - count % lanes, out);
}

}  // namespace kyrox
