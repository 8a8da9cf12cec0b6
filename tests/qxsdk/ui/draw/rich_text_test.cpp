#include <gtest/gtest.h>

#include <optional>
#include <stdexcept>
#include <string>

#include "bitmap_canvas.h"
#include "qxsdk/ui/draw/rich_text.h"

namespace qxsdk::ui {
namespace {

using Microsoft::WRL::ComPtr;
using testing::bgra;
using testing::bitmap_canvas;

constexpr D2D1_SIZE_F box{300.0f, 80.0f};

class RichText : public ::testing::Test {
protected:
    IDWriteTextLayout& build(D2D1_SIZE_F size = box)
    {
        renderer& r = canvas_.painter();
        return build_rich_text_layout(markup_, r.text_factory(), r.text_format(), r.target(), size);
    }

    void add(UINT32 start, UINT32 length, std::wstring tag, std::wstring attributes = {})
    {
        markup_.spans().push_back({{start, length}, std::move(tag), std::move(attributes)});
    }

    // The colour of the span's drawing effect at a position; nullopt without one.
    std::optional<D2D1_COLOR_F> color_at(IDWriteTextLayout& layout, UINT32 position)
    {
        ComPtr<IUnknown> effect;
        layout.GetDrawingEffect(position, &effect);
        ComPtr<ID2D1SolidColorBrush> brush;
        if (!effect || FAILED(effect.As(&brush))) {
            return std::nullopt;
        }
        return brush->GetColor();
    }

    bitmap_canvas canvas_{320, 80};
    rich_text markup_;
};

std::wstring family_at(IDWriteTextLayout& layout, UINT32 position)
{
    std::wstring family(64, L'\0');
    layout.GetFontFamilyName(position, family.data(), static_cast<UINT32>(family.size()));
    family.resize(family.find(L'\0'));
    return family;
}

DWRITE_FONT_WEIGHT weight_at(IDWriteTextLayout& layout, UINT32 position)
{
    DWRITE_FONT_WEIGHT weight{};
    layout.GetFontWeight(position, &weight);
    return weight;
}

FLOAT size_at(IDWriteTextLayout& layout, UINT32 position)
{
    FLOAT size = 0.0f;
    layout.GetFontSize(position, &size);
    return size;
}

bool underlined_at(IDWriteTextLayout& layout, UINT32 position)
{
    BOOL underline = FALSE;
    layout.GetUnderline(position, &underline);
    return underline != FALSE;
}

TEST_F(RichText, WithoutSpansIsPlainTextInTheFormatsFont)
{
    markup_.text() = L"plain";
    IDWriteTextLayout& layout = build();
    EXPECT_EQ(weight_at(layout, 0), DWRITE_FONT_WEIGHT_NORMAL);
    EXPECT_FALSE(underlined_at(layout, 0));
    EXPECT_EQ(family_at(layout, 0), L"Verdana");
    EXPECT_EQ(size_at(layout, 0), 12.0f);
}

TEST_F(RichText, SpansFormatOnlyTheirRange)
{
    markup_.text() = L"bold under face sized tail";
    add(0, 4, L"b");
    add(5, 5, L"u");
    add(11, 4, L"font", L"face=\"Tahoma\"");
    add(16, 5, L"font", L"color=\"#00FF00\" size=\"14.5pt\"");
    IDWriteTextLayout& layout = build();

    EXPECT_EQ(weight_at(layout, 0), DWRITE_FONT_WEIGHT_BOLD);
    EXPECT_EQ(weight_at(layout, 4), DWRITE_FONT_WEIGHT_NORMAL);
    EXPECT_TRUE(underlined_at(layout, 5));
    EXPECT_FALSE(underlined_at(layout, 10));
    EXPECT_EQ(family_at(layout, 11), L"Tahoma");
    EXPECT_EQ(family_at(layout, 16), L"Verdana");
    EXPECT_EQ(size_at(layout, 16), 14.5f);
    EXPECT_EQ(size_at(layout, 22), 12.0f);
}

TEST_F(RichText, UnknownTagsAndFontSpansWithoutKeysChangeNothing)
{
    markup_.text() = L"nothing changes";
    add(0, 7, L"B");
    add(0, 7, L"bold");
    add(0, 7, L"font", L"colour=\"#FF0000\" weight=\"700\"");
    add(8, 7, L"font", L"color=\"#FF80\"");
    add(8, 7, L"font", L"color=\"FF8000\"");
    add(8, 7, L"font", L"color=\"#GG8000\"");
    IDWriteTextLayout& layout = build();
    for (const UINT32 position : {0u, 8u}) {
        EXPECT_EQ(weight_at(layout, position), DWRITE_FONT_WEIGHT_NORMAL);
        EXPECT_EQ(family_at(layout, position), L"Verdana");
        EXPECT_FALSE(color_at(layout, position)) << position;
    }
}

TEST_F(RichText, AColourSpanDrawsWithItsColour)
{
    markup_.text() = L"orange";
    add(0, 6, L"font", L"color=\"#FF8000\"");
    const auto rgba = color_at(build(), 0);
    ASSERT_TRUE(rgba);
    EXPECT_FLOAT_EQ(rgba->r, 1.0f);
    EXPECT_FLOAT_EQ(rgba->g, 0.5019608f);
    EXPECT_FLOAT_EQ(rgba->b, 0.0f);
    EXPECT_FLOAT_EQ(rgba->a, 1.0f);
}

// Each colour keeps its own brush: two spans are not both drawn in the colour set last.
TEST_F(RichText, TwoColourSpansKeepTheirOwnColours)
{
    markup_.text() = L"MMMM WWWW";
    add(0, 4, L"font", L"color=\"#FF8000\" size=\"30\"");
    add(5, 4, L"font", L"size=\"30\" color=\"#0000ff\"");
    IDWriteTextLayout& layout = build();
    const auto first = color_at(layout, 0);
    const auto second = color_at(layout, 5);
    ASSERT_TRUE(first && second);
    EXPECT_FLOAT_EQ(first->g, 0.5019608f);
    EXPECT_FLOAT_EQ(second->b, 1.0f);
    EXPECT_FLOAT_EQ(second->r, 0.0f);

    canvas_.paint([&](renderer& r) {
        r.set_fill_color({1.0f, 1.0f, 1.0f, 1.0f});
        r.fill_rect({0, 0, 320, 80});
        r.target()->DrawTextLayout(D2D1::Point2F(0.0f, 0.0f), &layout, r.markup_brush());
    });
    canvas_.save_snapshot();
    // Orange ink only left of the gap, blue ink only right of it (pixel hues, not glyph shapes).
    int orange = 0;
    int blue = 0;
    for (std::uint32_t y = 0; y < 80; ++y) {
        const std::vector<bgra> pixels = canvas_.row(y);
        for (std::uint32_t x = 0; x < 320; ++x) {
            const bgra p = pixels[x];
            if (p.red > 200 && p.blue < 60 && p.green < 200) {
                ++orange;
            } else if (p.blue > 200 && p.red < 60 && p.green < 60) {
                ++blue;
            }
        }
    }
    EXPECT_GT(orange, 20);
    EXPECT_GT(blue, 20);
}

TEST_F(RichText, IsBuiltOncePerBox)
{
    markup_.text() = L"cached";
    IDWriteTextLayout* const first = &build();
    EXPECT_TRUE(markup_.layout_valid());
    EXPECT_EQ(&build(), first);

    const ComPtr<IDWriteTextLayout> held(first);
    IDWriteTextLayout* const wider = &build({box.width + 1.0f, box.height});
    EXPECT_NE(wider, first);
    EXPECT_EQ(wider->GetMaxWidth(), box.width + 1.0f);
    EXPECT_EQ(&build({box.width + 1.0f, box.height}), wider);

    const ComPtr<IDWriteTextLayout> held_wider(wider);
    markup_.invalidate_layout();
    EXPECT_NE(&build({box.width + 1.0f, box.height}), wider);
}

TEST_F(RichText, ANullFactoryIsReported)
{
    try {
        build_rich_text_layout(markup_, nullptr, canvas_.painter().text_format(), canvas_.painter().target(), box);
        FAIL() << "no exception";
    } catch (const std::runtime_error& failure) {
        EXPECT_STREQ(failure.what(), "factory is a null pointer");
    }
    EXPECT_FALSE(markup_.layout_valid());
}

}  // namespace
}  // namespace qxsdk::ui
