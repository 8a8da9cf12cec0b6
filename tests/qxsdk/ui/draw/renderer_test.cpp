#include <gtest/gtest.h>

#include <comdef.h>

#include <algorithm>
#include <stdexcept>
#include <string>

#include "bitmap_canvas.h"
#include "qxsdk/ui/draw/hresult_check.h"

namespace qxsdk::ui {
namespace {

using testing::bgra;
using testing::bitmap_canvas;
using testing::opaque_black;
using testing::opaque_red;
using testing::opaque_white;
using testing::placed_widget;

constexpr color black{0.0f, 0.0f, 0.0f, 1.0f};
constexpr color white{1.0f, 1.0f, 1.0f, 1.0f};
constexpr color red{1.0f, 0.0f, 0.0f, 1.0f};

void clear(renderer& r, const rect& area, const color& fill)
{
    r.set_fill_color(fill);
    r.fill_rect(area);
}

// Rows of column x that the pen touched (white on black).
std::vector<std::uint32_t> lit_rows(const bitmap_canvas& canvas, std::uint32_t x, std::uint32_t rows)
{
    std::vector<std::uint32_t> lit;
    for (std::uint32_t y = 0; y < rows; ++y) {
        if (canvas.pixel(x, y) != opaque_black) {
            lit.push_back(y);
        }
    }
    return lit;
}

struct line_case {
    float width;
    std::vector<std::uint32_t> rows;
};

class CrispLine : public ::testing::TestWithParam<line_case> {};

// Odd widths move onto pixel centres; every row a line touches is fully covered (aliased, no half rows).
TEST_P(CrispLine, CoversWholeRowsAroundRowTen)
{
    bitmap_canvas canvas(40, 20);
    canvas.paint([&](renderer& r) {
        clear(r, {0, 0, 40, 20}, black);
        r.set_pen(white, GetParam().width);
        r.draw_line({0, 10}, {30, 10});
    });
    canvas.save_snapshot(std::to_string(static_cast<int>(GetParam().width)));
    EXPECT_EQ(lit_rows(canvas, 15, 20), GetParam().rows);
    for (const std::uint32_t y : GetParam().rows) {
        EXPECT_EQ(canvas.pixel(15, y), opaque_white) << "row " << y;
    }
}

INSTANTIATE_TEST_SUITE_P(Widths, CrispLine,
                         ::testing::Values(line_case{1.0f, {10}}, line_case{2.0f, {9, 10}},
                                           line_case{3.0f, {9, 10, 11}}));

class RectOutline : public ::testing::TestWithParam<int> {};

// The outline lies inside the rectangle, as thick as the pen, whatever the width.
TEST_P(RectOutline, IsInsetByHalfThePenWidth)
{
    const int width = GetParam();
    bitmap_canvas canvas(20, 20);
    canvas.paint([&](renderer& r) {
        clear(r, {0, 0, 20, 20}, black);
        r.set_pen(white, static_cast<float>(width));
        r.draw_rect({0, 0, 10, 10});
    });
    canvas.save_snapshot(std::to_string(width));
    const std::vector<bgra> middle = canvas.row(5);
    for (int x = 0; x < 20; ++x) {
        const bool on_outline = x < width || (x >= 10 - width && x < 10);
        EXPECT_EQ(middle[static_cast<std::size_t>(x)], on_outline ? opaque_white : opaque_black) << "x " << x;
    }
    canvas.expect_pixels({{5, 0, opaque_white}, {5, 9, opaque_white}, {5, 10, opaque_black}});
}

INSTANTIATE_TEST_SUITE_P(Widths, RectOutline, ::testing::Values(1, 2, 3));

// A dotted line stays on its crisp row, one width on and one off. Wine 8 draws dash patterns solid, so
// only Windows shows the gaps: at least every other pixel is lit on both.
TEST(RendererDotted, LineStyleOneStaysOnItsRow)
{
    bitmap_canvas canvas(40, 20);
    canvas.paint([&](renderer& r) {
        clear(r, {0, 0, 40, 20}, black);
        r.set_pen(white, 1.0f);
        r.set_line_style(1);
        r.draw_line({0, 10}, {30, 10});
    });
    canvas.save_snapshot();
    EXPECT_EQ(lit_rows(canvas, 0, 20), std::vector<std::uint32_t>{10});
    const std::vector<bgra> line = canvas.row(10);
    const auto lit = std::count(line.begin(), line.begin() + 30, opaque_white);
    EXPECT_GE(lit, 15);
    EXPECT_LE(lit, 30);
    EXPECT_EQ(line[30], opaque_black);
}

TEST(RendererPaint, NestedOriginsAddUpAndRestore)
{
    bitmap_canvas canvas(80, 60);
    const placed_widget root({0, 0, 80, 60});
    const placed_widget parent({5, 5, 60, 50});
    const placed_widget first({10, 20, 10, 10});
    const placed_widget second({30, 0, 4, 4});
    const RECT dirty = canvas.whole();
    renderer& r = canvas.painter();
    {
        const paint_scope root_paint(r, root.w, dirty);
        clear(r, {0, 0, 80, 60}, black);
        const paint_scope parent_paint(r, parent.w, dirty);
        {
            const paint_scope child(r, first.w, dirty);
            clear(r, {0, 0, 10, 10}, red);
        }
        const paint_scope child(r, second.w, dirty);
        clear(r, {0, 0, 4, 4}, white);
        EXPECT_EQ(r.open_paints(), 3u);
    }
    EXPECT_EQ(r.open_paints(), 0u);
    canvas.save_snapshot();
    canvas.expect_pixels({{15, 25, opaque_red},
                          {24, 34, opaque_red},
                          {14, 25, opaque_black},
                          {25, 35, opaque_black},
                          {35, 5, opaque_white},
                          {38, 8, opaque_white},
                          {39, 9, opaque_black}});
}

// Units stay units at any DPI: a nested widget's clip covers all of its scaled pixels, not a part of them.
TEST(RendererPaint, ANestedWidgetClipsToItsWholeAreaAt144Dpi)
{
    bitmap_canvas canvas(120, 90);
    renderer& r = canvas.painter();
    r.target()->SetDpi(144.0f, 144.0f);
    const placed_widget root({0, 0, 80, 60});
    const placed_widget parent({5, 5, 60, 50});
    const placed_widget child({10, 20, 20, 10});
    const RECT dirty{0, 0, 80, 60};
    {
        const paint_scope root_paint(r, root.w, dirty);
        clear(r, {0, 0, 80, 60}, black);
        const paint_scope parent_paint(r, parent.w, dirty);
        const paint_scope child_paint(r, child.w, dirty);
        clear(r, {0, 0, 20, 10}, red);
    }
    canvas.save_snapshot();
    // The child spans units 15..35 x 25..35, pixels 22.5..52.5 x 37.5..52.5.
    canvas.expect_pixels({{24, 39, opaque_red},
                          {51, 51, opaque_red},
                          {21, 45, opaque_black},
                          {54, 45, opaque_black},
                          {40, 54, opaque_black}});
}

TEST(RendererPaint, ClipsToTheDirtyAreaAndToEachWidget)
{
    bitmap_canvas canvas(60, 60);
    canvas.paint([](renderer& r) { clear(r, {0, 0, 60, 60}, black); });

    const placed_widget root({0, 0, 60, 60});
    const placed_widget child({30, 0, 10, 10});
    const RECT dirty{0, 0, 35, 20};
    {
        const paint_scope root_paint(canvas.painter(), root.w, dirty);
        clear(canvas.painter(), {0, 0, 60, 60}, red);
        const paint_scope child_paint(canvas.painter(), child.w, dirty);
        clear(canvas.painter(), {-100, -100, 300, 300}, white);
    }
    canvas.save_snapshot();
    canvas.expect_pixels({{29, 19, opaque_red},
                          {0, 20, opaque_black},
                          {35, 15, opaque_black},
                          {30, 0, opaque_white},
                          {34, 9, opaque_white},
                          {34, 10, opaque_red}});
}

// A paint handler that throws must not leave drawing begun: the next paint draws as usual.
TEST(RendererPaint, AnExceptionInsideAPaintClosesEveryBracket)
{
    bitmap_canvas canvas(20, 20);
    const placed_widget root({0, 0, 20, 20});
    const placed_widget child({5, 5, 5, 5});
    EXPECT_THROW(
        {
            const paint_scope root_paint(canvas.painter(), root.w, canvas.whole());
            const paint_scope child_paint(canvas.painter(), child.w, canvas.whole());
            throw std::runtime_error("handler failed");
        },
        std::runtime_error);
    EXPECT_EQ(canvas.painter().open_paints(), 0u);

    canvas.paint([](renderer& r) { clear(r, {0, 0, 20, 20}, red); });
    canvas.expect_pixels({{0, 0, opaque_red}, {19, 19, opaque_red}});
}

// Shadow of {30, 30, 40, 40} with size 20: the box grows by 14 to {16, 16, 84, 84}; solid from 36 to 64.
class DropShadow : public ::testing::TestWithParam<point> {};

TEST_P(DropShadow, IsSolidInTheMiddleAndFadesEvenlyOnEverySide)
{
    const point offset = GetParam();
    bitmap_canvas canvas(120, 120);
    canvas.paint([&](renderer& r) {
        clear(r, {0, 0, 120, 120}, white);
        r.draw_shadow({30, 30, 40, 40}, offset, 20);
    });
    canvas.save_snapshot(std::to_string(offset.x) + "_" + std::to_string(offset.y));

    const auto at = [&](int x, int y) {
        return canvas.pixel(static_cast<std::uint32_t>(x + offset.x), static_cast<std::uint32_t>(y + offset.y));
    };
    EXPECT_EQ(at(36, 36), opaque_black);
    EXPECT_EQ(at(50, 50), opaque_black);
    EXPECT_EQ(at(63, 63), opaque_black);
    // Beyond the grown box nothing is drawn.
    EXPECT_EQ(at(15, 50), opaque_white);
    EXPECT_EQ(at(84, 50), opaque_white);
    EXPECT_EQ(at(50, 15), opaque_white);
    EXPECT_EQ(at(50, 84), opaque_white);

    // Out of the middle it lightens step by step, alike on the four sides.
    int previous = 0;
    for (int d = 0; d < 20; ++d) {
        const int left = at(35 - d, 50).red;
        EXPECT_NEAR(at(64 + d, 50).red, left, 2) << d;
        EXPECT_NEAR(at(50, 35 - d).red, left, 2) << d;
        EXPECT_NEAR(at(50, 64 + d).red, left, 2) << d;
        EXPECT_GE(left, previous) << d;
        previous = left;
    }
    EXPECT_LT(at(35, 50).red, 40);
    EXPECT_GT(at(17, 50).red, 245);
    // The corners fade from the middle's corner, alike in all four.
    for (int d = 0; d < 14; ++d) {
        const int top_left = at(35 - d, 35 - d).red;
        EXPECT_NEAR(at(64 + d, 35 - d).red, top_left, 2) << d;
        EXPECT_NEAR(at(35 - d, 64 + d).red, top_left, 2) << d;
        EXPECT_NEAR(at(64 + d, 64 + d).red, top_left, 2) << d;
    }
}

INSTANTIATE_TEST_SUITE_P(Offsets, DropShadow, ::testing::Values(point{0, 0}, point{5, 8}));

TEST(RendererState, FontKindsMapToWeightAndStyle)
{
    bitmap_canvas canvas(4, 4);
    renderer& r = canvas.painter();
    struct font_case {
        std::int32_t weight_kind;
        std::int32_t style_kind;
        DWRITE_FONT_WEIGHT weight;
        DWRITE_FONT_STYLE style;
    };
    for (const font_case& c : {font_case{1, 1, DWRITE_FONT_WEIGHT_LIGHT, DWRITE_FONT_STYLE_ITALIC},
                               font_case{2, 0, DWRITE_FONT_WEIGHT_BOLD, DWRITE_FONT_STYLE_NORMAL},
                               font_case{3, 2, DWRITE_FONT_WEIGHT_NORMAL, DWRITE_FONT_STYLE_NORMAL},
                               font_case{0, -1, DWRITE_FONT_WEIGHT_NORMAL, DWRITE_FONT_STYLE_NORMAL}}) {
        r.set_font("Verdana", 9.5f, c.weight_kind, c.style_kind);
        EXPECT_EQ(r.font_weight(), c.weight) << c.weight_kind;
        EXPECT_EQ(r.font_style(), c.style) << c.style_kind;
    }
    EXPECT_EQ(r.font_family(), L"Verdana");
    EXPECT_EQ(r.font_size(), 9.5f);
    // The family is read up to its first NUL.
    r.set_font(std::string_view("Tahoma\0Verdana", 14), 12.0f, 0, 0);
    EXPECT_EQ(r.font_family(), L"Tahoma");
}

TEST(RendererState, AlignmentKindsOutOfRangeMeanCentre)
{
    bitmap_canvas canvas(4, 4);
    renderer& r = canvas.painter();
    EXPECT_EQ(r.text_format()->GetFontSize(), 12.0f);
    struct alignment_case {
        std::int32_t horizontal_kind;
        std::int32_t vertical_kind;
        DWRITE_TEXT_ALIGNMENT horizontal;
        DWRITE_PARAGRAPH_ALIGNMENT vertical;
    };
    for (const alignment_case& c :
         {alignment_case{0, 0, DWRITE_TEXT_ALIGNMENT_LEADING, DWRITE_PARAGRAPH_ALIGNMENT_CENTER},
          alignment_case{1, 1, DWRITE_TEXT_ALIGNMENT_CENTER, DWRITE_PARAGRAPH_ALIGNMENT_NEAR},
          alignment_case{2, 2, DWRITE_TEXT_ALIGNMENT_TRAILING, DWRITE_PARAGRAPH_ALIGNMENT_FAR},
          alignment_case{3, 3, DWRITE_TEXT_ALIGNMENT_CENTER, DWRITE_PARAGRAPH_ALIGNMENT_CENTER}}) {
        r.set_text_alignment(c.horizontal_kind, c.vertical_kind);
        EXPECT_EQ(r.text_format()->GetTextAlignment(), c.horizontal) << c.horizontal_kind;
        EXPECT_EQ(r.text_format()->GetParagraphAlignment(), c.vertical) << c.vertical_kind;
    }
}

class RendererText : public ::testing::Test {
protected:
    void SetUp() override { canvas_.painter().set_font("Verdana", 12.0f, 0, 0); }

    bitmap_canvas canvas_{160, 60};
};

TEST_F(RendererText, EmptyTextMeasuresOneWide)
{
    const extent size = canvas_.painter().measure_text("", {0, 0});
    EXPECT_EQ(size.width, 1);
    EXPECT_GE(size.height, 1);
}

// Whole units, cut toward zero, of the layout's width with trailing blanks and its height, plus one.
TEST_F(RendererText, MeasureIsTheLayoutSizeTruncatedPlusOne)
{
    renderer& r = canvas_.painter();
    Microsoft::WRL::ComPtr<IDWriteTextLayout> layout;
    const std::wstring text = L"Measure me ";
    ASSERT_HRESULT_SUCCEEDED(r.text_factory()->CreateTextLayout(text.c_str(), static_cast<UINT32>(text.size()),
                                                                r.text_format(), 1e30f, 1e30f, &layout));
    const DWRITE_TEXT_RANGE whole{0, static_cast<UINT32>(text.size())};
    layout->SetFontFamilyName(L"Verdana", whole);
    DWRITE_TEXT_METRICS metrics{};
    layout->GetMetrics(&metrics);

    const extent size = r.measure_text("Measure me ", {0, 0});
    EXPECT_EQ(size.width, static_cast<std::int32_t>(metrics.widthIncludingTrailingWhitespace + 1.0f));
    EXPECT_EQ(size.height, static_cast<std::int32_t>(metrics.height + 1.0f));
    EXPECT_GT(size.width, r.measure_text("Measure me", {0, 0}).width);
}

TEST_F(RendererText, ABoundWidthWrapsTheText)
{
    renderer& r = canvas_.painter();
    const std::string text = "wrap these words at the box width";
    const extent line = r.measure_text(text, {0, 0});
    const extent wrapped = r.measure_text(text, {60, 0});
    EXPECT_GT(line.width, 61);
    EXPECT_LE(wrapped.width, 61);
    EXPECT_GE(wrapped.height, 2 * line.height - 2);
}

// The text is read to its length or to an embedded NUL, never past the view.
TEST_F(RendererText, ReadsExactlyTheViewUpToANul)
{
    renderer& r = canvas_.painter();
    const extent ab = r.measure_text("ab", {0, 0});
    EXPECT_EQ(r.measure_text(std::string_view("abcdef", 2), {0, 0}), ab);
    EXPECT_EQ(r.measure_text(std::string_view("ab\0cdef", 7), {0, 0}), ab);
}

TEST_F(RendererText, DrawsInsideItsBoxInTheTextColour)
{
    canvas_.paint([](renderer& r) {
        clear(r, {0, 0, 160, 60}, black);
        r.set_text_color(red);
        r.set_font("Verdana", 20.0f, 2, 0);
        r.draw_text({10, 10, 140, 40}, "Kyrox");
    });
    canvas_.save_snapshot();
    int lit = 0;
    for (std::uint32_t y = 0; y < 60; ++y) {
        const std::vector<bgra> pixels = canvas_.row(y);
        for (std::uint32_t x = 0; x < 160; ++x) {
            if (pixels[x] != opaque_black) {
                EXPECT_TRUE(x >= 10 && x < 150 && y >= 10 && y < 50) << x << ", " << y;
                EXPECT_EQ(pixels[x].green, 0);
                ++lit;
            }
        }
    }
    EXPECT_GT(lit, 20);
}

// DirectWrite makes no layout for a negative box: measuring says so, drawing just draws nothing.
TEST_F(RendererText, WithoutALayoutMeasureRaisesEPointerAndDrawSkips)
{
    try {
        canvas_.painter().measure_text("abc", {-5, -5});
        FAIL() << "no exception";
    } catch (const _com_error& failure) {
        EXPECT_EQ(failure.Error(), E_POINTER);
    }
    canvas_.paint([](renderer& r) {
        clear(r, {0, 0, 160, 60}, black);
        r.draw_text({10, 10, -5, -5}, "abc");
    });
    for (std::uint32_t y = 0; y < 60; y += 5) {
        const std::vector<bgra> pixels = canvas_.row(y);
        EXPECT_EQ(std::count(pixels.begin(), pixels.end(), opaque_black), 160) << y;
    }
}

TEST(RendererFailures, CarryTheirMessageCallAndResultOrEPointer)
{
    try {
        check(E_OUTOFMEMORY, "DWriteCreateFactory", "unable to create the write factory");
        FAIL() << "no exception";
    } catch (const hresult_error& failure) {
        EXPECT_STREQ(failure.what(), "unable to create the write factory");
        EXPECT_STREQ(failure.step(), "DWriteCreateFactory");
        EXPECT_EQ(failure.hresult(), E_OUTOFMEMORY);
    }
    // Callers that report any failure by its message catch it as before.
    EXPECT_THROW(check(E_FAIL, "D2D1CreateFactory", "unable to create a d2d resource factory"), std::runtime_error);
    EXPECT_NO_THROW(check(S_FALSE, "IDWriteFactory::CreateTextFormat", "not raised"));
    try {
        require(static_cast<IUnknown*>(nullptr));
        FAIL() << "no exception";
    } catch (const _com_error& failure) {
        EXPECT_EQ(failure.Error(), E_POINTER);
    }
}

// After Direct2D loses the device the target is made again: the images forget the old one and drawing goes on.
TEST(RendererTarget, RecreatingDropsImageBitmapsAndDrawsAgain)
{
    bitmap_canvas canvas(10, 10);
    const auto picture = new_image();
    ASSERT_TRUE(load_image_from_memory(*picture, testing::encode_png(2, 2, std::vector<bgra>(4, opaque_red))));
    renderer& r = canvas.painter();
    canvas.paint([&](renderer& p) { p.draw_image({0, 0}, *picture); });
    const ID2D1RenderTarget* old_target = r.target();
    ASSERT_TRUE(picture->has_target_bitmap(old_target));

    r.recreate_target();
    EXPECT_EQ(picture->target_bitmap_count(), 0u);
    EXPECT_TRUE(picture->renderers().empty());
    EXPECT_TRUE(r.registered_images().empty());

    canvas.paint([&](renderer& p) {
        clear(p, {0, 0, 10, 10}, black);
        p.draw_image({4, 4}, *picture);
    });
    EXPECT_TRUE(picture->has_target_bitmap(r.target()));
    canvas.expect_pixels({{4, 4, opaque_red}, {3, 3, opaque_black}});
}

}  // namespace
}  // namespace qxsdk::ui
