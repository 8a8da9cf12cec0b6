#include <algorithm>

#include "minihost/text_glyphs.h"
#include "scene_fixture.h"

namespace {

class FontTextTest : public SceneTest {
protected:
    void SetUp() override
    {
        SceneTest::SetUp();
        set_popup(ids::core_type, 3);
        set_checkbox(ids::use_text_alpha, true);
        minihost::TextSetting setting;
        setting.font_file = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
        setting.text = "Ob";
        setting.pixel_size = 64.0;
        setting.baseline_x = 20.0;
        setting.baseline_y = 80.0;
        setting.width = 160;
        setting.height = 100;
        minihost::CompLayer layer = minihost::text_layer_from_font(setting);
        layer.id = 9;
        text = &minihost::choose_text_layer(host, std::move(layer));
    }

    minihost::CompLayer* text = nullptr;
};

TEST_F(FontTextTest, GlyphContoursAreClosedCubicPaths)
{
    // "O" and "b" have an outer and an inner contour each.
    ASSERT_EQ(text->outlines.size(), 4u);
    for (const minihost::TextPath& path : text->outlines) {
        EXPECT_FALSE(path.open);
        EXPECT_GE(path.vertices.size(), 3u);
        const bool curved = std::any_of(path.vertices.begin(), path.vertices.end(), [](const PF_PathVertex& v) {
            return v.tan_out_x != v.x || v.tan_out_y != v.y;
        });
        EXPECT_TRUE(curved);
    }
}

TEST_F(FontTextTest, GatheredPiecesFollowTheGlyphsAndTheMatteComesWithThem)
{
    const kyrox::SceneRecord scene = gather();
    ASSERT_EQ(scene.paths.size(), 4u);
    for (const auto& piece : scene.paths) {
        ASSERT_GT(piece.size(), 10u);
        for (const kyrox::PathPoint& p : piece) {
            EXPECT_GT(p.x, 15.0f);
            EXPECT_LT(p.x, 160.0f);
            EXPECT_GT(p.y, 20.0f);
            EXPECT_LT(p.y, 82.0f);
        }
    }
    EXPECT_EQ(scene.text_view.data, text->pixels.world().data);
    // Ink inside the "O"'s stroke on its left side, none in its counter.
    float ink = 0.0f;
    for (A_long x = 20; x < 30; ++x) {
        ink = std::max(ink, text->pixels.channel(x, 58, 0));
    }
    EXPECT_GT(ink, 0.9f);
    EXPECT_EQ(text->pixels.channel(42, 58, 0), 0.0f);
}

TEST(FontText, MissingFontThrows)
{
    minihost::TextSetting setting;
    setting.font_file = "/nonexistent/font.ttf";
    setting.text = std::string{"x"};  // g++ 12 -O3 warns falsely (-Wrestrict) on assigning a one-character literal
    EXPECT_THROW(minihost::text_layer_from_font(setting), std::runtime_error);
}

}  // namespace
