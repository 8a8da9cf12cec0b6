#include "plugin/render/distortion/noise_distortion_kernels.h"

#include <algorithm>
#include <array>

#include "plugin/render/distortion/bilinear_sample_avx2.h"

namespace kyrox {

namespace {

constexpr std::size_t lanes = 8;
// Groups summed side by side, sample by sample, so the source reads (which wait on the noise reads)
// of many pixels are in flight at once.
constexpr std::size_t run_groups = 8;

// The noise of the pixels at columns (as floats) for sample k: pixel j reads the sample's noise rows
// at (along + j) x 0.5.
KYROX_AVX2_TARGET inline void noise8(const DisplaceRow& row, std::size_t k, __m256 columns, __m256& nx,
                                     __m256& ny) noexcept
{
    const __m256 x = _mm256_mul_ps(_mm256_add_ps(_mm256_set1_ps(row.along[k]), columns), _mm256_set1_ps(0.5f));
    if (simd::safe_positions(x)) {
        simd::bilinear8_along(row.noise_rows[k], row.noise_width, x, nx, ny);
        return;
    }
    alignas(32) std::array<float, lanes> xs{};
    alignas(32) std::array<float, lanes> first{};
    alignas(32) std::array<float, lanes> second{};
    _mm256_storeu_ps(xs.data(), x);
    for (std::size_t l = 0; l < lanes; ++l) {
        const std::array<float, 2> n = bilinear_at(row.noise_rows[k], row.noise_width, xs[l]);
        first[l] = n[0];
        second[l] = n[1];
    }
    nx = _mm256_loadu_ps(first.data());
    ny = _mm256_loadu_ps(second.data());
}

// The source plane's values at (x, y).
KYROX_AVX2_TARGET inline __m256 source8(const WorldView& source, __m256 x, __m256 y) noexcept
{
    if (simd::safe_positions(x) && simd::safe_positions(y)) {
        return simd::bilinear8(source, x, y);
    }
    alignas(32) std::array<float, lanes> xs{};
    alignas(32) std::array<float, lanes> ys{};
    alignas(32) std::array<float, lanes> values{};
    _mm256_storeu_ps(xs.data(), x);
    _mm256_storeu_ps(ys.data(), y);
    for (std::size_t l = 0; l < lanes; ++l) {
        values[l] = sample_bilinear1(source, xs[l], ys[l]);
    }
    return _mm256_loadu_ps(values.data());
}

// Multiply: the source pixel (1 at most) darkened by the noise, by amount percent at most.
KYROX_AVX2_TARGET inline __m256 darken8(const DisplaceRow& row, std::size_t column, __m256 nx, __m256 ny) noexcept
{
    const __m256 one = _mm256_set1_ps(1.0f);
    // 1 where the pixel is 1 or more, else the pixel (NaN included), as the one-at-a-time test.
    const __m256 t = _mm256_min_ps(one, _mm256_loadu_ps(row.source_row.data() + column));
    const __m256 q = multiply_factor<simd::F32x8>(nx, ny, row.amount);
    // q where it is greater than 0, else 0 (NaN included).
    return _mm256_mul_ps(t, _mm256_max_ps(q, _mm256_setzero_ps()));
}

KYROX_AVX2_TARGET std::size_t displace_runs(const DisplaceRow& row, std::size_t first, std::size_t whole,
                                            std::span<float> out)
{
    const __m256i lane_index = _mm256_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7);
    const __m256 amount = _mm256_set1_ps(row.amount);
    const __m256 fi = _mm256_set1_ps(row.row);
    const __m256 divisor = _mm256_set1_ps(static_cast<float>(row.noise_rows.size()));
    for (std::size_t run = 0; run < whole; run += run_groups * lanes) {
        const std::size_t groups = std::min(run_groups, (whole - run) / lanes);
        alignas(32) std::array<float, run_groups * lanes> sum{};
        for (std::size_t k = 0; k < row.noise_rows.size(); ++k) {
            for (std::size_t g = 0; g < groups; ++g) {
                const std::size_t column = first + run + g * lanes;
                // Columns are ints, so their conversions round as one at a time.
                const __m256 columns = _mm256_cvtepi32_ps(
                    _mm256_add_epi32(_mm256_set1_epi32(static_cast<std::int32_t>(column)), lane_index));
                __m256 nx;
                __m256 ny;
                noise8(row, k, columns, nx, ny);
                const __m256 m = row.displace ? source8(row.source, _mm256_add_ps(_mm256_mul_ps(amount, nx), columns),
                                                        _mm256_add_ps(_mm256_mul_ps(amount, ny), fi))
                                              : darken8(row, column, nx, ny);
                float* const pixel_sum = sum.data() + g * lanes;
                _mm256_storeu_ps(pixel_sum, _mm256_add_ps(_mm256_loadu_ps(pixel_sum), m));
            }
        }
        for (std::size_t g = 0; g < groups; ++g) {
            _mm256_storeu_ps(out.data() + first + run + g * lanes,
                             displaced_pixel<simd::F32x8>(_mm256_loadu_ps(sum.data() + g * lanes), divisor));
        }
    }
    return whole;
}

}  // namespace

std::size_t displace_avx2(const DisplaceRow& row, std::size_t first, std::size_t count, std::span<float> out)
{
    if (row.displace && !simd::gather_fits(row.source)) {
        return 0;
    }
    return displace_runs(row, first, count - count % lanes, out);
}

}  // namespace kyrox
