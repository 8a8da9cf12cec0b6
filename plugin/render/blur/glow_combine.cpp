#include "plugin/render/blur/glow_combine.h"

#include <algorithm>
#include <cmath>

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

struct CombineRow {
    const GaussPair* levels12;
    const GaussPair* levels34;
    const float* core;
    float* glow;
    float* halo;
};

template <bool Plain>
void combine_row(const CombineRow& row, std::size_t first, std::size_t end, const SceneRecord& scene,
                 const std::array<float, glow_level_count>& intensities) noexcept
{
    const float* w = scene.glow_level_weights;
    const float pre_gamma = scene.glow_pre_gamma;
    const float brightness = scene.brightness;
    for (std::size_t j = first; j < end; ++j) {
        // Level 1 maps 0.005..1 onto 0..1.
        const float x1 = (static_cast<float>(row.levels12[j].lane0) * intensities[0] - 0.005f) * 1.0050251f;
        const float x2 = static_cast<float>(row.levels12[j].lane1) * intensities[1];
        const float x3 = static_cast<float>(row.levels34[j].lane0) * intensities[2];
        const float x4 = static_cast<float>(row.levels34[j].lane1) * intensities[3];

        float g = 0.0f;
        g = screen(g, shaped<Plain>(x1, w[0], pre_gamma, brightness));
        g = screen(g, shaped<Plain>(x2, w[1], pre_gamma, brightness));
        g = screen(g, shaped<Plain>(x3, w[2], pre_gamma, brightness));
        row.glow[j] = g;

        const float t4 = shaped<Plain>(x4, w[3], pre_gamma, brightness);
        const float h = positive(t4 >= 1.0f ? 1.0f : t4);
        row.halo[j] = h * (1.0f - row.core[j]) + row.core[j];
    }
}

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
    const auto first = static_cast<std::size_t>(columns.first);
    const auto end = static_cast<std::size_t>(std::max(columns.first, columns.end));
    for (std::int32_t i = rows.first; i < rows.end; ++i) {
        const std::size_t row_start = static_cast<std::size_t>(i) * static_cast<std::size_t>(width);
        const CombineRow row{gauss.buffers[0].data() + row_start, gauss.buffers[1].data() + row_start,
                             core.row(i).data(), glow.row(i).data(), halo.row(i).data()};
        if (plain) {
            combine_row<true>(row, first, end, scene, intensities);
        } else {
            combine_row<false>(row, first, end, scene, intensities);
        }
    }
    return true;
}

}  // namespace kyrox
