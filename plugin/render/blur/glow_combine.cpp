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

// Four cells' lanes: SSE2 converts two doubles at a time, so the halves are joined after.
struct CellLanesX4 {
    CellLanes<simd::F32x4> operator()(const GaussPair* cells) const noexcept
    {
        const double* d = &cells[0].lane0;
        const __m128d c0 = _mm_loadu_pd(d);
        const __m128d c1 = _mm_loadu_pd(d + 2);
        const __m128d c2 = _mm_loadu_pd(d + 4);
        const __m128d c3 = _mm_loadu_pd(d + 6);
        return {_mm_movelh_ps(_mm_cvtpd_ps(_mm_unpacklo_pd(c0, c1)), _mm_cvtpd_ps(_mm_unpacklo_pd(c2, c3))),
                _mm_movelh_ps(_mm_cvtpd_ps(_mm_unpackhi_pd(c0, c1)), _mm_cvtpd_ps(_mm_unpackhi_pd(c2, c3)))};
    }
};

}  // namespace

void combine_row_plain(const CombineRow& row, std::size_t first, std::size_t end, const CombineValues& v) noexcept
{
    combine_row<true>(row, first, end, v);
}

std::size_t combine_row_plain_sse2(const CombineRow& row, std::size_t first, std::size_t end,
                                   const CombineValues& v) noexcept
{
    return combine_row_plain_lanes<simd::F32x4>(row, first, end, v, CellLanesX4{});
}

float shape_glow_level(float x, float weight, const SceneRecord& scene) noexcept
{
    return tone_curve(std::pow(x, scene.glow_pre_gamma), weight, scene.brightness);
}

bool combine_glow_job(const ThreadWorkData& work, const FrameTarget& target, const FloatPlane& source,
                      const FloatPlane& core, FloatPlane& glow, FloatPlane& halo, const SceneRecord& scene,
                      const std::array<float, glow_level_count>& intensities, const GaussBuffers& gauss)
{
    const std::int32_t width = source.width();
    const std::int32_t height = source.height();
    if (!holds_plane(gauss, width, height) || std::min({core.width(), glow.width(), halo.width()}) < width ||
        std::min({core.height(), glow.height(), halo.height()}) < height) {
        return true;
    }
    const WorldView& output = target.output_view;
    const IndexRange rows = output_range(std::max(work.begin, 0), std::min(work.end, height), output.height);
    const IndexRange columns = output_range(0, width, output.width);
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
