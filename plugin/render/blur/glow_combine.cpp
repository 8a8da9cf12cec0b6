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

float shape_glow_level(float x, float weight, const SceneRecord& scene) noexcept
{
    const float p = std::pow(x, scene.glow_pre_gamma);
    const float curve = ((0.48f * p + 0.186286f) * p + 0.333714f) * p + 0.000485714f;
    return (p + weight * (curve - p)) * scene.brightness;
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
    const float* w = scene.glow_level_weights;
    for (std::int32_t i = rows.first; i < rows.end; ++i) {
        const std::span<const float> core_row = core.row(i);
        const std::span<float> glow_row = glow.row(i);
        const std::span<float> halo_row = halo.row(i);
        const std::size_t row_start = static_cast<std::size_t>(i) * static_cast<std::size_t>(width);
        for (std::int32_t jj = columns.first; jj < columns.end; ++jj) {
            const auto j = static_cast<std::size_t>(jj);
            const GaussPair levels12 = gauss.buffers[0][row_start + j];
            const GaussPair levels34 = gauss.buffers[1][row_start + j];
            // Level 1 maps 0.005..1 onto 0..1.
            const float x1 = (static_cast<float>(levels12.lane0) * intensities[0] - 0.005f) * 1.0050251f;
            const float x2 = static_cast<float>(levels12.lane1) * intensities[1];
            const float x3 = static_cast<float>(levels34.lane0) * intensities[2];
            const float x4 = static_cast<float>(levels34.lane1) * intensities[3];

            float g = 0.0f;
            g = screen(g, shape_glow_level(x1, w[0], scene));
            g = screen(g, shape_glow_level(x2, w[1], scene));
            g = screen(g, shape_glow_level(x3, w[2], scene));
            glow_row[j] = g;

            const float t4 = shape_glow_level(x4, w[3], scene);
            const float h = positive(t4 >= 1.0f ? 1.0f : t4);
            halo_row[j] = h * (1.0f - core_row[j]) + core_row[j];
        }
    }
    return true;
}

}  // namespace kyrox
