#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <limits>
#include <string>
#include <vector>

#include "tests/render/frame_fixture.h"

// Frames of any size and settings out of every range render without faulting, hanging or writing
// outside the output (the sanitizers and the padding checks see to that).
namespace {

using kyrox::DistortionSettings;
using kyrox::SceneRecord;
using kyrox::test::blade_scene;
using kyrox::test::FrameBuffers;

constexpr float nan = std::numeric_limits<float>::quiet_NaN();
constexpr float inf = std::numeric_limits<float>::infinity();

// Everything one frame is drawn from.
struct FrameCase {
    SceneRecord scene;
    DistortionSettings glow = kyrox::test::no_distortion();
    DistortionSettings core = kyrox::test::no_distortion();
    float downsample = 1.0f;
    float time = 0.75f;
};

template <class Channel>
void render_safely(const FrameCase& c, std::int32_t width, std::int32_t height, const std::string& what)
{
    FrameBuffers<Channel> f(width, height, c.downsample);
    f.render(c.scene, c.glow, c.core, c.time);
    EXPECT_TRUE(f.output.padding_intact()) << what;
    EXPECT_TRUE(f.input.padding_intact()) << what;
}

template <class Channel>
class RenderFrameRobustness : public ::testing::Test {
};
using Depths = ::testing::Types<std::uint8_t, std::uint16_t, float>;
TYPED_TEST_SUITE(RenderFrameRobustness, Depths);

DistortionSettings strong_distortion(int type, int composite)
{
    DistortionSettings d = kyrox::test::no_distortion();
    d.distortion_type = static_cast<kyrox::DistortionType>(type);
    d.distortion_composite = static_cast<kyrox::DistortionComposite>(composite);
    d.distortion_amount = 40.0f;
    d.noise_scale = 5.0f;
    d.wind_speed = 20.0f;
    d.distortion_motion_blur = 3.0f;
    d.noise_bias = 2.5f;
    d.lock_to_blade = true;
    d.invert_distortion = true;
    return d;
}

TYPED_TEST(RenderFrameRobustness, AnyFrameSize)
{
    struct Size {
        std::int32_t width, height;
    };
    for (const Size s : {Size{1, 1}, Size{1, 2}, Size{2, 1}, Size{3, 3}, Size{5, 4}, Size{1, 300}, Size{300, 1},
                         Size{2500, 24}, Size{24, 2500}}) {
        FrameCase c{blade_scene(static_cast<float>(s.width), static_cast<float>(s.height))};
        c.glow = strong_distortion(2, 1);
        c.core = strong_distortion(3, 1);
        c.scene.core_softness = 5.0f;
        render_safely<TypeParam>(c, s.width, s.height, std::to_string(s.width) + "x" + std::to_string(s.height));
    }
}

TYPED_TEST(RenderFrameRobustness, EveryAlphaModeAndCompositeSetting)
{
    for (int alpha_mode = 1; alpha_mode <= 4; ++alpha_mode) {
        for (const std::uint8_t composite : {0, 1, 2, 3, 4, 255}) {
            for (const bool glow : {true, false}) {
                FrameCase c{blade_scene(33, 17)};
                kyrox::test::set_alpha_mode(c.scene, alpha_mode);
                c.scene.composite_mode = static_cast<kyrox::CompositeMode>(composite);
                c.scene.invert_masks = alpha_mode % 2 == 0;
                c.scene.blend_on_top = true;
                if (!glow) {
                    for (float& v : c.scene.glow_intensity) {
                        v = 0.0f;
                    }
                }
                c.core = strong_distortion(1, 1);
                c.glow = strong_distortion(1, composite % 2 + 1);
                render_safely<TypeParam>(c, 33, 17,
                                         "alpha " + std::to_string(alpha_mode) + " composite " +
                                             std::to_string(composite) + " glow " + std::to_string(glow));
            }
        }
    }
}

using Change = std::function<void(FrameCase&)>;

struct Extreme {
    const char* name;
    Change change;
};

// Sizes at their maxima times their multipliers, and values no host should send.
std::vector<Extreme> extremes()
{
    std::vector<Extreme> list = {
        {"largest glow sizes",
         [](FrameCase& c) {
             for (int k = 0; k < 4; ++k) {
                 c.scene.glow_size[k] = k == 3 ? 2e7f : 2e6f;
                 c.scene.glow_intensity[k] = 1.25e6f;
             }
         }},
        {"largest core",
         [](FrameCase& c) {
             c.scene.core_size = 200.0f;
             c.scene.core_softness = 25.0f;
         }},
        {"long caps",
         [](FrameCase& c) {
             c.scene.start_roundness = 1e6f;
             c.scene.end_size = 1e5f;
         }},
        {"many samples",
         [](FrameCase& c) {
             for (int k = 0; k < 64; ++k) {
                 c.scene.core_segments.push_back({static_cast<float>(k), 3.0f, 40.0f - static_cast<float>(k), 20.0f});
             }
         }},
        {"far points",
         [](FrameCase& c) {
             c.scene.core_segments = {{-1e30f, 5.0f, 1e30f, 9.0f}};
         }},
        {"infinite points",
         [](FrameCase& c) {
             c.scene.core_segments = {{-inf, 5.0f, inf, 9.0f}};
         }},
        {"NaN points",
         [](FrameCase& c) {
             c.scene.core_segments = {{nan, 5.0f, 30.0f, nan}};
         }},
        {"path pieces",
         [](FrameCase& c) {
             c.scene.mask_randomization = true;
             c.scene.flicker_amount = 200.0f;
             c.scene.paths = {{{1, 1, 3, 2}, {30, 15, 4, 2}, {2, 15, 0.05f, 0}}, {{5, 5, nan, inf}, {9, 9, 1e9f, 1}}};
         }},
        {"downsample 0", [](FrameCase& c) { c.downsample = 0.0f; }},
        {"downsample NaN", [](FrameCase& c) { c.downsample = nan; }},
        {"downsample 16", [](FrameCase& c) { c.downsample = 16.0f; }},
        {"downsample 1/4", [](FrameCase& c) { c.downsample = 0.25f; }},
        {"time NaN", [](FrameCase& c) { c.time = nan; }},
        {"time far", [](FrameCase& c) { c.time = 1e9f; }},
        {"noise scale 0",
         [](FrameCase& c) {
             c.glow = strong_distortion(2, 1);
             c.glow.noise_scale = 0.0f;
             c.core = strong_distortion(3, 1);
             c.core.noise_scale = 0.0f;
         }},
        {"wind and blur at their maxima",
         [](FrameCase& c) {
             c.glow = strong_distortion(3, 2);
             c.glow.wind_speed = -200.0f;
             c.glow.distortion_motion_blur = 10.0f;
             c.glow.distortion_amount = 200.0f;
             c.glow.noise_complexity = 1000;
         }},
        {"odd distortion values",
         [](FrameCase& c) {
             c.glow = strong_distortion(-4, 9);
             c.glow.noise_complexity = -3;
             c.glow.noise_aspect_ratio = inf;
             c.glow.noise_bias = -2.0f;
             c.core = strong_distortion(99, 0);
             c.core.noise_origin[0] = nan;
             c.core.wind_direction = inf;
         }},
    };
    // NaN in each float of the scene and of the distortion records, one at a time.
    const auto scene_field = [](float SceneRecord::*field, const char* name) {
        return Extreme{name, [field](FrameCase& c) { c.scene.*field = nan; }};
    };
    for (const Extreme& e :
         {scene_field(&SceneRecord::core_size, "NaN core size"),
          scene_field(&SceneRecord::start_size, "NaN start size"), scene_field(&SceneRecord::end_size, "NaN end size"),
          scene_field(&SceneRecord::start_roundness, "NaN start roundness"),
          scene_field(&SceneRecord::end_offset, "NaN end offset"),
          scene_field(&SceneRecord::core_softness, "NaN softness"),
          scene_field(&SceneRecord::flicker_speed, "NaN flicker speed"),
          scene_field(&SceneRecord::flicker_amount, "NaN flicker amount"),
          scene_field(&SceneRecord::glow_pre_gamma, "NaN pre gamma"),
          scene_field(&SceneRecord::alpha_boost, "NaN alpha boost"), scene_field(&SceneRecord::gamma, "NaN gamma"),
          scene_field(&SceneRecord::brightness, "NaN brightness"),
          scene_field(&SceneRecord::saturation, "NaN saturation")}) {
        list.push_back(e);
    }
    list.push_back({"NaN glow arrays", [](FrameCase& c) {
                        c.scene.glow_size[1] = nan;
                        c.scene.glow_intensity[2] = nan;
                        c.scene.glow_level_weights[0] = nan;
                        c.scene.glow_color[0] = nan;
                    }});
    const auto distortion_field = [](float DistortionSettings::*field, const char* name) {
        return Extreme{name, [field](FrameCase& c) {
                           c.glow = strong_distortion(2, 1);
                           c.core = strong_distortion(3, 1);
                           c.glow.*field = nan;
                           c.core.*field = nan;
                       }};
    };
    for (const Extreme& e : {distortion_field(&DistortionSettings::noise_speed, "NaN noise speed"),
                             distortion_field(&DistortionSettings::wind_speed, "NaN wind speed"),
                             distortion_field(&DistortionSettings::wind_direction, "NaN wind direction"),
                             distortion_field(&DistortionSettings::noise_scale, "NaN noise scale"),
                             distortion_field(&DistortionSettings::noise_aspect_ratio, "NaN aspect"),
                             distortion_field(&DistortionSettings::distortion_motion_blur, "NaN motion blur"),
                             distortion_field(&DistortionSettings::noise_bias, "NaN bias")}) {
        list.push_back(e);
    }
    return list;
}

TYPED_TEST(RenderFrameRobustness, ExtremeAndNonNumericValues)
{
    for (const Extreme& e : extremes()) {
        FrameCase c{blade_scene(40, 24)};
        c.glow = strong_distortion(1, 1);
        e.change(c);
        render_safely<TypeParam>(c, 40, 24, e.name);
    }
}

}  // namespace
