#pragma once

#include <cstdint>
#include <vector>

#include "plugin/render/render_inputs.h"
#include "plugin/render/pixels/color_ramp.h"
#include "plugin/render/pixels/pixel_depth.h"
#include "plugin/render/render_frame.h"
#include "tests/render/host_image.h"
#include "tests/support/blade_scenes.h"

namespace kyrox::test {

// Alpha Mode popup values as the scene record's three flags.
inline void set_alpha_mode(SceneRecord& scene, int mode)
{
    scene.mask_glow = mode == 1 || mode == 3;
    scene.not_mask_core = mode != 2;
    scene.mask_all = mode == 1;
}

// A horizontal-ish blade across a small frame with four glow levels, no flicker, no distortion.
inline SceneRecord blade_scene(float width, float height)
{
    SceneRecord s = glowing_blade_scene({width * 0.15f, height * 0.4f, width * 0.85f, height * 0.6f}, 4.0f,
                                        {2.0f, 4.0f, 8.0f, 3.0f}, {0.6f, 0.5f, 0.4f, 0.8f});
    s.glow_color[0] = 1.0f;
    s.glow_color[1] = 0.3f;
    s.glow_color[2] = 0.1f;
    s.glow_color[3] = 1.0f;
    s.flicker_speed = 1.0f;
    s.alpha_boost = 0.5f;
    return s;
}

inline DistortionSettings no_distortion()
{
    DistortionSettings d;
    d.noise_scale = 30.0f;
    d.noise_complexity = 3;
    d.distortion_type = kyrox::DistortionType::smoke;
    d.distortion_composite = kyrox::DistortionComposite::displace;
    d.noise_aspect_ratio = 1.0f;
    d.noise_bias = 1.0f;
    return d;
}

inline const std::vector<ColorRamp>& base_ramps()
{
    static const std::vector<ColorRamp> ramps = [] {
        std::vector<ColorRamp> r;
        build_color_ramps(r);
        return r;
    }();
    return ramps;
}

// One frame of the depth of Channel: an input layer, an output buffer and the factors between them.
template <class Channel>
struct FrameBuffers {
    FrameBuffers(std::int32_t width, std::int32_t height, float downsample = 1.0f)
        : input(width, height, 12), output(width, height, 20)
    {
        input.fill({PixelDepth<Channel>::full_scale, 0, 0, 0});
        output.fill({1, 2, 3, 4});
        target.input_view = input.view();
        target.output_view = output.view();
        target.downsample_x = downsample;
        target.downsample_y = downsample;
        target.pixel_aspect = 1.0f;
        target.bytes_per_channel = sizeof(Channel);
    }

    void render(const SceneRecord& scene, const DistortionSettings& glow = no_distortion(),
                const DistortionSettings& core = no_distortion(), float time = 0.5f)
    {
        render_frame<Channel>(base_ramps(), target, scene, glow, core, time);
    }

    std::vector<Pixel<Channel>> pixels()
    {
        std::vector<Pixel<Channel>> all;
        for (std::int32_t r = 0; r < output.view().height; ++r) {
            for (std::int32_t c = 0; c < output.view().width; ++c) {
                all.push_back(output.at(r, c));
            }
        }
        return all;
    }

    HostImage<Channel> input;
    HostImage<Channel> output;
    FrameTarget target;
};

}  // namespace kyrox::test

namespace kyrox {

// Found by argument lookup, so that pixel vectors compare with ==.
template <class Channel>
bool operator==(const Pixel<Channel>& a, const Pixel<Channel>& b)
{
    return a.alpha == b.alpha && a.red == b.red && a.green == b.green && a.blue == b.blue;
}

}  // namespace kyrox
