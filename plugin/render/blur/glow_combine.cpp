#include "plugin/render/blur/glow_combine.h"

#include <algorithm>
#include <cmath>

#include "plugin/noise/noise_floor4.h"
#include "plugin/platform/cpu_features.h"
#include "plugin/render/pixels/output_range.h"

namespace kyrox {

namespace {

// v when v is above 0, else 0 (NaN too).
float positive(float v) noexcept
{
    return v > 0.0f ? v : 0.0f;
}

// Screens t over g; a negative or NaN t adds nothing and keeps g.
float screen(float g, float t) noexcept
{
    return positive(1.0f - t) * g + positive(t);
}

}  // namespace

namespace {

// The tone curve after the pre-gamma power p; Plain means the pre-gamma is exactly 1 (x^1 is x),
// which most looks use, and leaves the power call out so the row loop vectorises.
template <bool Plain>
float shaped(float x, float weight, float pre_gamma, float brightness) noexcept
{
    const float p = Plain ? x : std::pow(x, pre_gamma);
    const float curve = ((0.48f * p + 0.186286f) * p + 0.333714f) * p + 0.000485714f;
    return (p + weight * (curve - p)) * brightness;
}

template <bool Plain>
void combine_row(const CombineRow& row, std::size_t first, std::size_t end, const CombineValues v) noexcept
{
    for (std::size_t j = first; j < end; ++j) {
        // Level 1 maps 0.005..1 onto 0..1.
        const float x1 = (static_cast<float>(row.levels12[j].lane0) * v.intensities[0] - 0.005f) * 1.0050251f;
        const float x2 = static_cast<float>(row.levels12[j].lane1) * v.intensities[1];
        const float x3 = static_cast<float>(row.levels34[j].lane0) * v.intensities[2];
        const float x4 = static_cast<float>(row.levels34[j].lane1) * v.intensities[3];

        float g = 0.0f;
        g = screen(g, shaped<Plain>(x1, v.weights[0], v.pre_gamma, v.brightness));
        g = screen(g, shaped<Plain>(x2, v.weights[1], v.pre_gamma, v.brightness));
        g = screen(g, shaped<Plain>(x3, v.weights[2], v.pre_gamma, v.brightness));
        row.glow[j] = g;

        const float t4 = shaped<Plain>(x4, v.weights[3], v.pre_gamma, v.brightness);
        const float h = positive(t4 >= 1.0f ? 1.0f : t4);
        row.halo[j] = h * (1.0f - row.core[j]) + row.core[j];
    }
}

}  // namespace

void combine_row_plain(const CombineRow& row, std::size_t first, std::size_t end, const CombineValues& v) noexcept
{
    combine_row<true>(row, first, end, v);
}

namespace {

#ifdef KYROX_SSE2
// combine_row<true> on four cells at a time, each lane with the same operations in the same order;
// returns the first cell it left for the one-at-a-time loop.
std::size_t combine_row_plain4(const CombineRow& row, std::size_t first, std::size_t end, const CombineValues v) noexcept
{
    const __m128 zero = _mm_setzero_ps();
    const __m128 one = _mm_set1_ps(1.0f);
    const auto positive4 = [zero](__m128 x) { return _mm_and_ps(_mm_cmpgt_ps(x, zero), x); };
    const auto screen4 = [&](__m128 g, __m128 t) {
        return _mm_add_ps(_mm_mul_ps(positive4(_mm_sub_ps(one, t)), g), positive4(t));
    };
    const __m128 brightness = _mm_set1_ps(v.brightness);
    const auto shaped4 = [&](__m128 p, float weight) {
        const __m128 curve = _mm_add_ps(
            _mm_mul_ps(_mm_add_ps(_mm_mul_ps(_mm_add_ps(_mm_mul_ps(_mm_set1_ps(0.48f), p), _mm_set1_ps(0.186286f)), p),
                                  _mm_set1_ps(0.333714f)),
                       p),
            _mm_set1_ps(0.000485714f));
        return _mm_mul_ps(_mm_add_ps(p, _mm_mul_ps(_mm_set1_ps(weight), _mm_sub_ps(curve, p))), brightness);
    };
    // Lane 0 and lane 1 of four cells as floats.
    const auto lanes = [](const GaussPair* cells, __m128& lane0, __m128& lane1) {
        const double* d = &cells[0].lane0;
        const __m128d c0 = _mm_loadu_pd(d);
        const __m128d c1 = _mm_loadu_pd(d + 2);
        const __m128d c2 = _mm_loadu_pd(d + 4);
        const __m128d c3 = _mm_loadu_pd(d + 6);
        lane0 = _mm_movelh_ps(_mm_cvtpd_ps(_mm_unpacklo_pd(c0, c1)), _mm_cvtpd_ps(_mm_unpacklo_pd(c2, c3)));
        lane1 = _mm_movelh_ps(_mm_cvtpd_ps(_mm_unpackhi_pd(c0, c1)), _mm_cvtpd_ps(_mm_unpackhi_pd(c2, c3)));
    };
    std::size_t j = first;
    for (; j + 4 <= end; j += 4) {
        __m128 l12_0;
        __m128 l12_1;
        __m128 l34_0;
        __m128 l34_1;
        lanes(row.levels12 + j, l12_0, l12_1);
        lanes(row.levels34 + j, l34_0, l34_1);
        const __m128 x1 = _mm_mul_ps(_mm_sub_ps(_mm_mul_ps(l12_0, _mm_set1_ps(v.intensities[0])), _mm_set1_ps(0.005f)),
                                     _mm_set1_ps(1.0050251f));
        const __m128 x2 = _mm_mul_ps(l12_1, _mm_set1_ps(v.intensities[1]));
        const __m128 x3 = _mm_mul_ps(l34_0, _mm_set1_ps(v.intensities[2]));
        const __m128 x4 = _mm_mul_ps(l34_1, _mm_set1_ps(v.intensities[3]));
        __m128 g = zero;
        g = screen4(g, shaped4(x1, v.weights[0]));
        g = screen4(g, shaped4(x2, v.weights[1]));
        g = screen4(g, shaped4(x3, v.weights[2]));
        _mm_storeu_ps(row.glow + j, g);
        const __m128 t4 = shaped4(x4, v.weights[3]);
        const __m128 h = positive4(kyrox::simd::select(_mm_cmpge_ps(t4, one), one, t4));
        const __m128 core = _mm_loadu_ps(row.core + j);
        _mm_storeu_ps(row.halo + j, _mm_add_ps(_mm_mul_ps(h, _mm_sub_ps(one, core)), core));
    }
    return j;
}
#endif

}  // namespace

float shape_glow_level(float x, float weight, const SceneRecord& scene) noexcept
{
    return shaped<false>(x, weight, scene.glow_pre_gamma, scene.brightness);
}

bool combine_glow_job(const ThreadWorkData& work, PlaneOffset offset, const FrameTarget& target,
                      const FloatPlane& source, const FloatPlane& core, FloatPlane& glow, FloatPlane& halo,
                      const SceneRecord& scene, const std::array<float, glow_level_count>& intensities,
                      const GaussBuffers& gauss)
{
    const std::int32_t width = source.width();
    const std::int32_t height = source.height();
    if (!holds_plane(gauss, width, height) || std::min({core.width(), glow.width(), halo.width()}) < width ||
        std::min({core.height(), glow.height(), halo.height()}) < height) {
        return true;
    }
    const WorldView& output = target.output_view;
    const IndexRange rows = output_range(std::max(work.begin, 0), std::min(work.end, height), plane_shift(offset.y),
                                         output.height);
    const IndexRange columns = output_range(0, width, plane_shift(offset.x), output.width);
    const bool plain = scene.glow_pre_gamma == 1.0f;
    const CombineValues values{intensities,
                               {scene.glow_level_weights[0], scene.glow_level_weights[1],
                                scene.glow_level_weights[2], scene.glow_level_weights[3]},
                               scene.glow_pre_gamma,
                               scene.brightness};
    const auto first = static_cast<std::size_t>(columns.first);
    const auto end = static_cast<std::size_t>(std::max(columns.first, columns.end));
    for (std::int32_t i = rows.first; i < rows.end; ++i) {
        const std::size_t row_start = static_cast<std::size_t>(i) * static_cast<std::size_t>(width);
        const CombineRow row{gauss.buffers[0].data() + row_start, gauss.buffers[1].data() + row_start,
                             core.row(i).data(), glow.row(i).data(), halo.row(i).data()};
        if (plain) {
            std::size_t j = first;
#ifdef KYROX_AVX2
            if (platform::cpu_has_avx2()) {
                j = combine_row_plain8_avx2(row, j, end, values);
            }
#endif
#ifdef KYROX_SSE2
            j = combine_row_plain4(row, j, end, values);
#endif
            combine_row<true>(row, j, end, values);
        } else {
            combine_row<false>(row, first, end, values);
        }
    }
    return true;
}

}  // namespace kyrox
