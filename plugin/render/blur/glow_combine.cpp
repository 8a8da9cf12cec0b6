#include "plugin/render/blur/glow_combine.h"

#include <algorithm>
#include <cmath>

#include "plugin/platform/simd/simd_path.h"
#include "plugin/render/blur/glow_combine_kernels.h"
#include "plugin/render/geometry/output_range.h"

namespace kyrox {

namespace {

// A pre-gamma other than 1 takes the power call, one cell at a time.
GlowCell<float> combine_gamma_cell(float level1, float level2, float level3, float level4, float core,
                                   const CombineValues& v) noexcept
{
    const std::array<float, glow_level_count> x = level_values(level1, level2, level3, level4, v);
    const auto shaped = [&](std::size_t k) {
        return tone_curve(std::pow(x[k], v.pre_gamma), v.weights[k], v.brightness);
    };
    return combine_levels<float>({shaped(0), shaped(1), shaped(2), shaped(3)}, core);
}

template <bool Plain>
void combine_row(const CombineRow& row, std::size_t first, std::size_t end, const CombineValues v) noexcept
{
    for (std::size_t j = first; j < end; ++j) {
        const auto level1 = static_cast<float>(row.levels12[j].lane0);
        const auto level2 = static_cast<float>(row.levels12[j].lane1);
        const auto level3 = static_cast<float>(row.levels34[j].lane0);
        const auto level4 = static_cast<float>(row.levels34[j].lane1);
        const GlowCell<float> cell = Plain ? combine_plain_cell(level1, level2, level3, level4, row.core[j], v)
                                           : combine_gamma_cell(level1, level2, level3, level4, row.core[j], v);
        row.glow[j] = cell.glow;
        row.halo[j] = cell.halo;
    }
}

// Lane 0 and lane 1 of four cells as floats.
void cell_lanes(const GaussPair* cells, __m128& lane0, __m128& lane1) noexcept
{
    const double* d = &cells[0].lane0;
    const __m128d c0 = _mm_loadu_pd(d);
    const __m128d c1 = _mm_loadu_pd(d + 2);
    const __m128d c2 = _mm_loadu_pd(d + 4);
    const __m128d c3 = _mm_loadu_pd(d + 6);
    lane0 = _mm_movelh_ps(_mm_cvtpd_ps(_mm_unpacklo_pd(c0, c1)), _mm_cvtpd_ps(_mm_unpacklo_pd(c2, c3)));
    lane1 = _mm_movelh_ps(_mm_cvtpd_ps(_mm_unpackhi_pd(c0, c1)), _mm_cvtpd_ps(_mm_unpackhi_pd(c2, c3)));
}

// combine_plain_cell four cells at a time with SSE2; returns the first cell it left (fewer than
// four) for the one-at-a-time loop.
std::size_t combine_row_plain_sse2(const CombineRow& row, std::size_t first, std::size_t end,
                                   const CombineValues& values) noexcept
{
    const CombineValues v = values;
    std::size_t j = first;
    for (; j + 4 <= end; j += 4) {
        __m128 l12_0;
        __m128 l12_1;
        __m128 l34_0;
        __m128 l34_1;
        cell_lanes(row.levels12 + j, l12_0, l12_1);
        cell_lanes(row.levels34 + j, l34_0, l34_1);
        const GlowCell<simd::F32x4> cell =
            combine_plain_cell<simd::F32x4>(l12_0, l12_1, l34_0, l34_1, _mm_loadu_ps(row.core + j), v);
        _mm_storeu_ps(row.glow + j, cell.glow);
        _mm_storeu_ps(row.halo + j, cell.halo);
    }
    return j;
}

}  // namespace

void combine_row_plain(const CombineRow& row, std::size_t first, std::size_t end, const CombineValues& v) noexcept
{
    combine_row<true>(row, first, end, v);
}

float shape_glow_level(float x, float weight, const SceneRecord& scene) noexcept
{
    return tone_curve(std::pow(x, scene.glow_pre_gamma), weight, scene.brightness);
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
    const IndexRange rows =
        output_range(std::max(work.begin, 0), std::min(work.end, height), plane_shift(offset.y), output.height);
    const IndexRange columns = output_range(0, width, plane_shift(offset.x), output.width);
    const bool plain = scene.glow_pre_gamma == 1.0f;
    const bool avx2 = simd::widest_path() >= simd::SimdPath::avx2;
    const CombineValues values{intensities,
                               {scene.glow_level_weights[0], scene.glow_level_weights[1], scene.glow_level_weights[2],
                                scene.glow_level_weights[3]},
                               scene.glow_pre_gamma,
                               scene.brightness};
    const auto first = static_cast<std::size_t>(columns.first);
    const auto end = static_cast<std::size_t>(std::max(columns.first, columns.end));
    for (std::int32_t i = rows.first; i < rows.end; ++i) {
        const std::size_t row_start = static_cast<std::size_t>(i) * static_cast<std::size_t>(width);
        const CombineRow row{gauss.buffers[0].data() + row_start, gauss.buffers[1].data() + row_start,
                             core.row(i).data(), glow.row(i).data(), halo.row(i).data()};
        if (plain) {
            std::size_t j = avx2 ? combine_row_plain_avx2(row, first, end, values) : first;
            j = combine_row_plain_sse2(row, j, end, values);
            combine_row<true>(row, j, end, values);
        } else {
            combine_row<false>(row, first, end, values);
        }
    }
    return true;
}

}  // namespace kyrox
