#include "plugin/render/noise_distortion_jobs.h"

#include "plugin/render/distortion_noise.h"
#include "plugin/render/float_plane.h"

#include <cstddef>
#include <cstdint>
#include <span>

namespace kyrox {
namespace {

constexpr int displace = 1;

NoiseCell* noise_row(const WorldView& noise, std::int32_t i)
{
    return reinterpret_cast<NoiseCell*>(static_cast<std::byte*>(noise.data) +
                                        static_cast<std::int64_t>(i) * noise.row_bytes);
}

}  // namespace

bool noise_field_job(const NoiseFieldTask& task, const ThreadWorkData& work)
{
    const DistortionSettings& s = task.settings;
    const DistortionSetup& setup = task.setup;
    DistortionNoise noise(s);
    for (std::int32_t i = work.begin; i < work.end; ++i) {
        NoiseCell* cells = noise_row(task.noise, i);
        for (std::int32_t j = 0; j < task.noise.width; ++j) {
            // 2j and 2i: the noise cell's position in full-resolution pixels.
            float x = static_cast<float>(2 * j) / s.noise_scale + setup.drift.x;
            float y = static_cast<float>(2 * i) / s.noise_scale + setup.drift.y;
            if (s.lock_to_blade) {
                const float turned_x = setup.wind_sin * x - setup.wind_cos * y;
                y = setup.wind_cos * x + setup.wind_sin * y;
                x = turned_x;
            }
            x *= s.noise_aspect_ratio;
            const NoisePoint p1{x + setup.offset_a.x, y + setup.offset_a.y, setup.z + setup.offset_a.z, 0.0f};
            const NoisePoint p2{x + setup.offset_b.x, y + setup.offset_b.y, setup.z + setup.offset_b.z, 0.0f};
            const NoiseCell raw = noise.at(p1, p2);
            cells[j] = {shape_noise_channel(raw.x, s.noise_bias, s.invert_distortion),
                        shape_noise_channel(raw.y, s.noise_bias, s.invert_distortion)};
        }
    }
    return true;
}

bool noise_displace_job(const NoiseDisplaceTask& task, const ThreadWorkData& work)
{
    const DistortionSettings& s = task.settings;
    const DistortionSetup& setup = task.setup;
    for (std::int32_t i = work.begin; i < work.end; ++i) {
        const std::span<const float> source = plane_row(task.source, i);
        const std::span<float> out = plane_row(task.scratch, i);
        const float fi = static_cast<float>(i);
        for (std::size_t j = 0; j < out.size(); ++j) {
            const float fj = static_cast<float>(j);
            float sum = 0.0f;
            for (int k = 0; k < setup.samples; ++k) {
                const float d = s.distortion_motion_blur * s.wind_speed * static_cast<float>(k) * 3.0f;
                const NoiseCell n =
                    sample_bilinear(task.noise, (d * setup.wind_cos + fj) * 0.5f, (d * setup.wind_sin + fi) * 0.5f);
                if (s.distortion_composite == displace) {
                    sum += sample_bilinear1(task.source, setup.amount * n.x + fj, setup.amount * n.y + fi);
                } else {
                    const float t = source[j] >= 1.0f ? 1.0f : source[j];
                    const float q = 1.0f - (1.0f - ((n.x + n.y) * 0.25f + 0.5f)) * setup.amount * 0.01f;
                    sum += t * (q > 0.0f ? q : 0.0f);
                }
            }
            out[j] = sum / static_cast<float>(setup.samples);
        }
    }
    return true;
}

}  // namespace kyrox
