#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "minihost/frame_session.h"
#include "minihost/effect_params.h"
#include "minihost/plugin_module.h"
#include "minihost/scene_model.h"
#include "minihost/scene_setup.h"
#include "tests/minihost/frame_channels.h"

// Small frames pinned on disk: a change that alters every frame the same way fails here, where the
// comparisons between builds and depths would not notice it. The frames are raw floats (every
// channel of every pixel in 0..1, alpha first), written only by tools/refresh-reference-frames.sh.
namespace {

constexpr A_long W = 64;
constexpr A_long H = 48;

enum class Core { blade, masks, text };

struct FrameCase {
    const char* name;  // also the file name
    const char* preset;
    int bytes_per_channel;
    Core core;
};

// Distortion types by preset: Arc Reactor smoke, Burning fluid, Fire an energy glow over a fluid core.
const FrameCase frame_cases[] = {
    {"arc_reactor_float", "Arc Reactor", 4, Core::blade},
    {"burning_16bit", "Burning", 2, Core::blade},
    {"fire_8bit", "Fire", 1, Core::blade},
    {"masks_16bit", "Default", 2, Core::masks},
    {"text_float", "Thin", 4, Core::text},
};

AEGP_MaskVertex mask_corner(double x, double y)
{
    return {x, y, 0.0, 0.0, 0.0, 0.0};
}

minihost::AnimatedMask still_rectangle(double x, double y, double w, double h)
{
    minihost::MaskShape shape;
    shape.vertices = {mask_corner(x, y), mask_corner(x + w, y), mask_corner(x + w, y + h), mask_corner(x, y + h)};
    minihost::AnimatedMask mask;
    mask.keys.push_back({0, std::move(shape)});
    return mask;
}

minihost::TextPath glyph_square(double x, double y, double side)
{
    const auto corner = [](double cx, double cy) { return PF_PathVertex{cx, cy, cx, cy, cx, cy}; };
    minihost::TextPath path;
    path.vertices = {corner(x, y), corner(x + side, y), corner(x + side, y + side), corner(x, y + side)};
    return path;
}

// Two masks, or three glyphs on a text layer whose alpha covers its left half only.
void set_up_core(minihost::Host& host, const FrameCase& c)
{
    constexpr A_long core_type = 109;
    if (c.core == Core::masks) {
        minihost::param_by_id(host, core_type).u.pd.value = 2;
        host.scene().masks.push_back(still_rectangle(8, 6, 20, 14));
        host.scene().masks.push_back(still_rectangle(36, 24, 18, 16));
    } else if (c.core == Core::text) {
        minihost::param_by_id(host, core_type).u.pd.value = 3;
        minihost::CompLayer layer;
        layer.id = 7;
        layer.outlines = {glyph_square(10, 12, 10), glyph_square(28, 12, 10), glyph_square(46, 20, 8)};
        layer.pixels = minihost::HostWorld(W, H, c.bytes_per_channel);
        for (A_long y = 0; y < H; ++y) {
            for (A_long x = 0; x < W / 2; ++x) {
                for (int channel = 0; channel < 4; ++channel) {
                    layer.pixels.set_channel(x, y, channel, 1.0f);
                }
            }
        }
        minihost::choose_text_layer(host, std::move(layer));
    }
}

// Frame 2 of five, drawn by the built plug-in file.
std::vector<float> render_case(const FrameCase& c)
{
    const minihost::PluginModule module(KYROX_PLUGIN_PATH);
    minihost::SessionSettings settings;
    settings.width = W;
    settings.height = H;
    settings.bytes_per_channel = c.bytes_per_channel;
    settings.preset = c.preset;
    settings.frame_count = 5;
    minihost::FrameSession session(module.entry(), settings);
    set_up_core(session.host(), c);
    EXPECT_EQ(session.render(2), PF_Err_NONE);
    return minihost::test::frame_channels(session);
}

std::string reference_path(const FrameCase& c)
{
    const std::string path = std::string(KYROX_REFERENCE_FRAMES) + "/" + c.name + ".f32";
#ifdef _WIN32
    return minihost::windows_path_of(path);
#else
    return path;
#endif
}

// Set by tools/refresh-reference-frames.sh only, and only for a native run.
bool refreshing()
{
#ifdef _WIN32
    return false;
#else
    const char* refresh = std::getenv("KYROX_REFRESH_REFERENCE_FRAMES");
    return refresh != nullptr && std::string(refresh) == "1";
#endif
}

TEST(ReferenceFrames, EveryCaseDrawsItsPinnedFrame)
{
    for (const FrameCase& c : frame_cases) {
        SCOPED_TRACE(c.name);
        const std::vector<float> frame = render_case(c);
        ASSERT_EQ(frame.size(), static_cast<std::size_t>(W * H * 4));
        if (refreshing()) {
            std::ofstream out(reference_path(c), std::ios::binary);
            out.write(reinterpret_cast<const char*>(frame.data()),
                      static_cast<std::streamsize>(frame.size() * sizeof(float)));
            ASSERT_TRUE(out.good());
            continue;
        }
        std::ifstream in(reference_path(c), std::ios::binary);
        ASSERT_TRUE(in) << "no reference frame at " << reference_path(c);
        std::vector<float> reference(frame.size());
        in.read(reinterpret_cast<char*>(reference.data()),
                static_cast<std::streamsize>(reference.size() * sizeof(float)));
        ASSERT_EQ(in.gcount(), static_cast<std::streamsize>(reference.size() * sizeof(float)));
        EXPECT_EQ(in.peek(), std::char_traits<char>::eof()) << "the reference frame is larger than the frame";
        const minihost::test::FrameDifference difference = minihost::test::frame_difference(frame, reference);
        // The tolerances of the comparison between the native and the Windows build, whose C
        // runtimes' float functions may differ in the last bits; a stored channel may then also land
        // one step of its depth away.
        const float step = c.bytes_per_channel == 1 ? 1.0f / 255.0f : c.bytes_per_channel == 2 ? 1.0f / 32768.0f : 0.0f;
        EXPECT_LT(difference.mean, 1e-5);
        EXPECT_LT(difference.worst, 2e-3f + step);
    }
}

// The pinned frames are pictures, not blanks: each has a bright core and dimmer glow around it.
TEST(ReferenceFrames, EveryCaseDrawsAPicture)
{
    for (const FrameCase& c : frame_cases) {
        SCOPED_TRACE(c.name);
        const std::vector<float> frame = render_case(c);
        float dimmest = 1.0f;
        float brightest = 0.0f;
        for (std::size_t i = 0; i < frame.size(); i += 4) {
            const float luma =
                (std::min(frame[i + 1], 1.0f) + std::min(frame[i + 2], 1.0f) + std::min(frame[i + 3], 1.0f)) / 3.0f;
            dimmest = std::min(dimmest, luma);
            brightest = std::max(brightest, luma);
        }
        EXPECT_GT(brightest - dimmest, 0.5f);
    }
}

}  // namespace
