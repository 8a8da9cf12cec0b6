#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

#include "minihost/frame_session.h"
#include "minihost/cli/image_resize.h"
#include "minihost/plugin_module.h"
#include "minihost/cli/preset_tile.h"

// Contact sheet tiles show each preset as it looks on the reference frame, not as it looks when its
// full-frame sizes are drawn into a thumbnail.
namespace {

using minihost::Rgba8Image;
using minihost::TileLayout;

constexpr A_long frame_count = 12;

Rgba8Image full_frame(const minihost::PluginModule& module, const TileLayout& layout, const std::string& preset)
{
    minihost::SessionSettings settings = minihost::tile_session(layout, preset, frame_count);
    settings.downsample = 1;
    minihost::FrameSession session(module.entry(), settings);
    EXPECT_EQ(session.render(0), PF_Err_NONE);
    return minihost::rgba8_of(session.output());
}

Rgba8Image tile(const minihost::PluginModule& module, const TileLayout& layout, const std::string& preset)
{
    minihost::FrameSession session(module.entry(), minihost::tile_session(layout, preset, frame_count));
    EXPECT_EQ(session.render(0), PF_Err_NONE);
    return minihost::tile_image(session.output(), layout);
}

// Share of pixels clipped to white: red, green and blue all at least 250.
double clipped_share(const Rgba8Image& image)
{
    std::size_t clipped = 0;
    for (std::size_t i = 0; i < image.pixels.size(); i += 4) {
        clipped += image.pixels[i] >= 250 && image.pixels[i + 1] >= 250 && image.pixels[i + 2] >= 250 ? 1 : 0;
    }
    return static_cast<double>(clipped) / static_cast<double>(image.pixels.size() / 4);
}

double mean_difference(const Rgba8Image& a, const Rgba8Image& b)
{
    double total = 0.0;
    for (std::size_t i = 0; i < a.pixels.size(); ++i) {
        total += std::abs(a.pixels[i] - b.pixels[i]) / 255.0;
    }
    return total / static_cast<double>(a.pixels.size());
}

TEST(PresetTile, DownsampleIsTheNearestFactorOfTheSmallerRatio)
{
    const struct {
        TileLayout layout;
        int factor;
    } cases[] = {
        {{1920, 1080, 240, 136}, 8}, {{1920, 1080, 1920, 1080}, 1}, {{1920, 1080, 640, 360}, 3},
        {{1920, 1080, 500, 100}, 4}, {{100, 100, 300, 300}, 1},     {{3840, 2160, 240, 136}, 16},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(minihost::tile_downsample(c.layout), c.factor)
            << c.layout.tile_width << " x " << c.layout.tile_height << " of " << c.layout.reference_width;
    }
}

TEST(PresetTile, HardCoreIsNoMoreClippedThanAtFullSize)
{
    const minihost::PluginModule module(KYROX_PLUGIN_PATH);
    const TileLayout layout;
    const double full = clipped_share(full_frame(module, layout, "Hard Core"));
    const double reduced = clipped_share(tile(module, layout, "Hard Core"));
    EXPECT_LT(reduced, 0.25);
    EXPECT_NEAR(reduced, full, 0.05);
}

TEST(PresetTile, DefaultLooksLikeTheFullFrameScaledDown)
{
    const minihost::PluginModule module(KYROX_PLUGIN_PATH);
    const TileLayout layout;
    const Rgba8Image scaled = minihost::resized(full_frame(module, layout, "Default"), 240, 136);
    const Rgba8Image drawn = tile(module, layout, "Default");
    ASSERT_EQ(drawn.pixels.size(), scaled.pixels.size());
    EXPECT_LT(mean_difference(drawn, scaled), 0.02);
}

TEST(ImageResize, KeepsFlatImagesFlatAndAveragesWhenReducing)
{
    Rgba8Image flat{5, 3, std::vector<unsigned char>(5 * 3 * 4, 77)};
    for (const auto& [w, h] : {std::pair{2, 1}, std::pair{11, 7}, std::pair{5, 3}}) {
        const Rgba8Image r = minihost::resized(flat, w, h);
        EXPECT_EQ(r.width, w);
        EXPECT_EQ(r.height, h);
        EXPECT_EQ(r.pixels, std::vector<unsigned char>(static_cast<std::size_t>(w * h * 4), 77));
    }
    // Black and white columns reduce to their mean grey, not to one of them.
    Rgba8Image stripes{8, 1, {}};
    for (int x = 0; x < 8; ++x) {
        const unsigned char v = x % 2 == 0 ? 0 : 255;
        stripes.pixels.insert(stripes.pixels.end(), {v, v, v, 255});
    }
    const Rgba8Image grey = minihost::resized(stripes, 2, 1);
    for (int c = 0; c < 3; ++c) {
        EXPECT_NEAR(grey.pixels[static_cast<std::size_t>(c)], 128, 16) << c;
    }
}

}  // namespace
