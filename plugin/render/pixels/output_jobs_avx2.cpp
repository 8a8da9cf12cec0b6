#include "plugin/render/pixels/output_jobs_kernels.h"

#include "plugin/platform/simd/lanes_avx2.h"

namespace kyrox {

namespace {

using simd::positive;
using simd::select;

// 255 x c truncated to a byte: NaN and values not above 0 give 0, values of 255 or more 255.
KYROX_AVX2_TARGET __m256i channel_bytes8(__m256 c)
{
    const __m256 scaled = _mm256_mul_ps(_mm256_set1_ps(255.0f), c);
    const __m256i whole = _mm256_and_si256(_mm256_cvttps_epi32(scaled),
                                           _mm256_castps_si256(_mm256_cmp_ps(scaled, _mm256_setzero_ps(), _CMP_GT_OQ)));
    const __m256 full = _mm256_cmp_ps(scaled, _mm256_set1_ps(255.0f), _CMP_GE_OQ);
    return _mm256_castps_si256(select(simd::F32x8(full), simd::F32x8(_mm256_castsi256_ps(_mm256_set1_epi32(255))),
                                      simd::F32x8(_mm256_castsi256_ps(whole))));
}

}  // namespace

KYROX_AVX2_TARGET std::size_t colorize_row_avx2(const ColorizeRow& row, std::span<const RampEntry> ramp,
                                                float saturation, std::span<Pixel<std::uint8_t>> out) noexcept
{
    const std::size_t count = out.size() & ~std::size_t{7};
    const auto* entries = ramp.data()->lanes.data();
    const std::int32_t last = static_cast<std::int32_t>(ramp.size()) - 1;
    const __m256 size = _mm256_set1_ps(static_cast<float>(ramp.size()));
    const __m256 last_f = _mm256_set1_ps(static_cast<float>(last));
    const __m256 zero = _mm256_setzero_ps();
    const __m256 one = _mm256_set1_ps(1.0f);
    const bool graded = saturation < 1.0f || saturation > 1.0f;
    for (std::size_t j = 0; j < count; j += 8) {
        const __m256 core = row.core_on_top ? _mm256_loadu_ps(row.core.data() + j) : zero;
        const __m256 v = screened_intensity<simd::F32x8>(_mm256_loadu_ps(row.glow.data() + j),
                                                         _mm256_loadu_ps(row.halo.data() + j), core, row.brightness,
                                                         row.core_on_top);

        // ramp_position: entries i0 and i1 and the weight t of i1; NaN and v <= 0 give entry 0, t 0.
        const __m256 x = _mm256_mul_ps(size, v);
        const __m256 inside = _mm256_cmp_ps(x, zero, _CMP_GT_OQ);
        const __m256 at_end = _mm256_cmp_ps(x, last_f, _CMP_GE_OQ);
        // The conversion of huge values and NaN is masked off below.
        __m256i i0 =
            _mm256_castps_si256(select(simd::F32x8(at_end), simd::F32x8(_mm256_castsi256_ps(_mm256_set1_epi32(last))),
                                       simd::F32x8(_mm256_castsi256_ps(_mm256_cvttps_epi32(x)))));
        i0 = _mm256_and_si256(i0, _mm256_castps_si256(inside));
        const __m256 t = _mm256_and_ps(inside, _mm256_min_ps(_mm256_sub_ps(x, _mm256_cvtepi32_ps(i0)), one));
        const __m256i i1 = _mm256_min_epi32(_mm256_add_epi32(i0, _mm256_set1_epi32(1)), _mm256_set1_epi32(last));
        const __m256i first = _mm256_slli_epi32(i0, 2);
        const __m256i second = _mm256_slli_epi32(i1, 2);

        // The blended colour, one register per lane of the pixels.
        __m256 lanes[4];
        for (int lane = 0; lane < 4; ++lane) {
            lanes[lane] = ramp_blend<simd::F32x8>(t, _mm256_i32gather_ps(entries + lane, first, 4),
                                                  _mm256_i32gather_ps(entries + lane, second, 4));
        }
        if (graded) {
            const __m256 grey = grey_of<simd::F32x8>(lanes[lane_red], lanes[lane_green], lanes[lane_blue]);
            for (std::size_t lane = lane_red; lane <= lane_blue; ++lane) {
                lanes[lane] = saturated<simd::F32x8>(grey, lanes[lane], saturation);
            }
        }
        const __m256i packed = _mm256_or_si256(
            _mm256_or_si256(channel_bytes8(lanes[lane_alpha]), _mm256_slli_epi32(channel_bytes8(lanes[lane_red]), 8)),
            _mm256_or_si256(_mm256_slli_epi32(channel_bytes8(lanes[lane_green]), 16),
                            _mm256_slli_epi32(channel_bytes8(lanes[lane_blue]), 24)));
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(out.data() + j), packed);
    }
    return count;
}

}  // namespace kyrox
