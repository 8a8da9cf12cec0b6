#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "minihost/frame_session.h"
#include "minihost/plugin_module.h"
#include "tests/minihost/frame_channels.h"

// Whole frames drawn by the built plug-in file through the small host.
namespace {

constexpr A_long W = 160;
constexpr A_long H = 96;

minihost::SessionSettings settings_of(int bytes_per_channel, int downsample = 1)
{
    minihost::SessionSettings s;
    s.width = W;
    s.height = H;
    s.bytes_per_channel = bytes_per_channel;
    s.downsample = downsample;
    s.frame_count = 5;
    return s;
}

// Frame 2 of the Default preset: every channel of every pixel in 0..1, alpha first.
std::vector<float> render_default(int bytes_per_channel, int downsample = 1)
{
    const minihost::PluginModule module(KYROX_PLUGIN_PATH);
    minihost::FrameSession session(module.entry(), settings_of(bytes_per_channel, downsample));
    EXPECT_EQ(session.render(2), PF_Err_NONE);
    return minihost::test::frame_channels(session);
}

float lit_share(const std::vector<float>& frame)
{
    std::size_t lit = 0;
    for (std::size_t i = 0; i < frame.size(); i += 4) {
        lit += frame[i] > 0.05f ? 1 : 0;
    }
    return static_cast<float>(lit) / static_cast<float>(frame.size() / 4);
}

// The depths differ only in how a channel is stored: 8-bit and 16-bit channels are the float
// result clamped to 1 and truncated to the depth's steps.
TEST(FrameRender, TheThreeDepthsAgreeWithinTheirQuantisation)
{
    const std::vector<float> full = render_default(4);
    ASSERT_GT(lit_share(full), 0.02f);  // the blade is there
    for (const int depth : {1, 2}) {
        const std::vector<float> stored = render_default(depth);
        ASSERT_EQ(stored.size(), full.size());
        const float step = depth == 1 ? 1.0f / 255.0f : 1.0f / 32768.0f;
        float worst = 0.0f;
        for (std::size_t i = 0; i < full.size(); ++i) {
            worst = std::max(worst, std::fabs(stored[i] - std::min(full[i], 1.0f)));
        }
        EXPECT_LE(worst, step + 1e-4f) << depth;
    }
}

// The plug-in keeps its planes from frame to frame. A frame must not depend on what frames of
// other presets, sizes or depths left in them: the same frame drawn first and drawn after them
// comes out the same.
TEST(FrameRender, KeptPlanesDoNotCarryOverBetweenFrames)
{
    const minihost::PluginModule module(KYROX_PLUGIN_PATH);
    const auto draw = [&](const char* preset, A_long width, int bytes_per_channel) {
        minihost::SessionSettings s = settings_of(bytes_per_channel);
        s.width = width;
        s.preset = preset;
        minihost::FrameSession session(module.entry(), s);
        EXPECT_EQ(session.render(2), PF_Err_NONE);
        return minihost::test::frame_channels(session);
    };
    const std::vector<float> first = draw("Default", W, 1);
    ASSERT_GT(lit_share(first), 0.02f);
    for (const char* other : {"Meteor", "Inferno", "Fire"}) {
        draw(other, W, 1);
        draw(other, W, 4);
        draw(other, W + 40, 1);
        EXPECT_EQ(draw("Default", W, 1), first) << "after " << other;
    }
}

// Half resolution draws the same picture with half the pixels: each pixel against the mean of its
// 2 x 2 block of the full frame. Edges and glow levels are sized in downsampled pixels, so the two
// agree in the large and differ only a little along the edges.
TEST(FrameRender, HalfResolutionLooksLikeTheFullFrameScaledDown)
{
    const std::vector<float> full = render_default(4);
    const std::vector<float> half = render_default(4, 2);
    ASSERT_EQ(half.size(), full.size() / 4);
    double total = 0.0;
    for (A_long y = 0; y < H / 2; ++y) {
        for (A_long x = 0; x < W / 2; ++x) {
            for (int c = 0; c < 4; ++c) {
                const auto at = [&](A_long fx, A_long fy) {
                    return std::min(full[static_cast<std::size_t>((fy * W + fx) * 4 + c)], 1.0f);
                };
                const float block =
                    (at(2 * x, 2 * y) + at(2 * x + 1, 2 * y) + at(2 * x, 2 * y + 1) + at(2 * x + 1, 2 * y + 1)) * 0.25f;
                const float value = std::min(half[static_cast<std::size_t>((y * (W / 2) + x) * 4 + c)], 1.0f);
                total += std::fabs(value - block);
            }
        }
    }
    const double mean = total / static_cast<double>(half.size());
    EXPECT_LT(mean, 0.03) << "mean difference per channel";
    EXPECT_NEAR(lit_share(half), lit_share(full), 0.03f);
}

// One float frame is kept on disk by the native test run, and the Windows build of the same
// test compares its own frame with it: the two builds must draw the same picture. The Windows
// tests write the native frame first (a CTest fixture), and fail without it.
TEST(FrameRender, NativeAndWindowsBuildsDrawTheSameFrame)
{
    const std::vector<float> frame = render_default(4);
#ifdef _WIN32
    std::ifstream in(minihost::windows_path_of(KYROX_REFERENCE_FRAME), std::ios::binary);
    ASSERT_TRUE(in) << "no native reference frame at " << KYROX_REFERENCE_FRAME
                    << ": tools/native-reference-frame.sh writes it";
    std::vector<float> reference(frame.size());
    in.read(reinterpret_cast<char*>(reference.data()), static_cast<std::streamsize>(reference.size() * sizeof(float)));
    ASSERT_EQ(in.gcount(), static_cast<std::streamsize>(reference.size() * sizeof(float)));
    const minihost::test::FrameDifference difference = minihost::test::frame_difference(frame, reference);
    // The two C runtimes' float functions (powf, sinf, log2f) may differ in the last bits.
    EXPECT_LT(difference.mean, 1e-5);
    EXPECT_LT(difference.worst, 2e-3f);
#else
    std::filesystem::create_directories(std::filesystem::path(KYROX_REFERENCE_FRAME).parent_path());
    std::ofstream out(KYROX_REFERENCE_FRAME, std::ios::binary);
    out.write(reinterpret_cast<const char*>(frame.data()), static_cast<std::streamsize>(frame.size() * sizeof(float)));
    ASSERT_TRUE(out.good());
#endif
}

}  // namespace
