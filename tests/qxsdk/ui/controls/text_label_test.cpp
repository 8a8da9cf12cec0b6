// Panels and labels: automatic sizes with real text measures, and their pixels in a WIC bitmap.
#include "qxsdk/ui/controls/text_label.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "qxsdk/ui/controls/generic_panel.h"
#include "qxsdk/ui/core/event_codes.h"
#include "qxsdk/ui/core/style_lookup.h"
#include "tests/qxsdk/ui/controls/pixel_window.h"
#include "tests/qxsdk/ui/window/window_test_support.h"

namespace {

using namespace controls_test;

constexpr color black{0, 0, 0, 1};
constexpr bgra opaque_green{0, 255, 0, 255};
// U+2588, the full block: a glyph whose inside is fully covered, so its pixels carry the text colour as is.
constexpr const char* blocks = "\xE2\x96\x88\xE2\x96\x88\xE2\x96\x88";

class TextLabelTest : public PixelWindowTest {
protected:
    TextLabelTest()
    {
        attach_widget(panel, win.root(), {0, 0, width, height});
        attach_widget(label, panel, {10, 10, 200, 60});
        log.watch(label, "label", {event_code::resized});
    }

    GenericPanel panel;
    TextLabel label;
    window_test::event_log log;
};

TEST_F(TextLabelTest, WithBothAutomaticSizesOffTheGeometryNeverChanges)
{
    label.set_text("A rather long text that would need more room than the label has", false);
    set_style_property(label.style(), "label_font_color", {1, 0, 0, 1});
    EXPECT_EQ(label.geometry(), (rect{10, 10, 200, 60}));
    EXPECT_TRUE(log.entries.empty());
}

TEST_F(TextLabelTest, AutoHeightWrapsAtTheWidthAndAnEmptyTextCollapsesToZero)
{
    label.set_text("One line", true);
    const std::int32_t one_line = label.geometry().height;
    EXPECT_GT(one_line, 0);
    EXPECT_EQ(label.geometry().width, 200);
    label.set_text("Words enough to wrap onto a second line and a third line at this label's width", true);
    EXPECT_GE(label.geometry().height, 2 * one_line - 2);
    EXPECT_EQ(label.geometry().width, 200);
    label.set_text("", true);
    EXPECT_EQ(label.geometry(), (rect{10, 10, 200, 0}));
}

TEST_F(TextLabelTest, AutoWidthFollowsOneLineAndSetTextTurnsItOff)
{
    label.set_text("Short", false);
    label.set_auto_width(true);
    const std::int32_t short_width = label.geometry().width;
    EXPECT_GT(short_width, 0);
    EXPECT_LT(short_width, 200);
    EXPECT_EQ(label.geometry().height, 60);
    label.set_text("Short", false);  // the same text: laid out again, with auto width now off
    EXPECT_FALSE(label.auto_width());
    EXPECT_EQ(label.geometry().width, short_width);
}

TEST_F(TextLabelTest, APanelAndALabelPaintTheirOwnBackgroundColour)
{
    set_style_property(panel.style(), "default_back_color", {0, 1, 0, 1});
    set_style_property(label.style(), "default_back_color", black);
    paint();
    canvas.expect_pixels({{5, 5, opaque_green}, {220, 100, opaque_green}, {15, 15, opaque_black}});
}

TEST_F(TextLabelTest, ADisabledLabelDrawsItsTextAtHalfAlphaWhateverItsColourSays)
{
    // Bigger than the theme's size, so the blocks have a solid inside.
    style_map& overrides = theme_overrides();
    const style_map saved = overrides;
    overrides.insert_or_assign("label_font_size", make_float_value(40.0f));
    set_style_property(label.style(), "default_back_color", black);
    label.set_text(blocks, false);
    const rect area{10, 10, 200, 60};

    struct row {
        const char* what;
        bool panel_enabled;
        float colour_alpha;
        int expected_red;
    };
    const row rows[] = {
        {"enabled, opaque", true, 1.0f, 255},
        {"enabled, faint", true, 0.2f, 51},
        {"parent disabled, opaque", false, 1.0f, 128},
        {"parent disabled, faint", false, 0.2f, 128},  // replaced, not multiplied
    };
    for (const row& r : rows) {
        SCOPED_TRACE(r.what);
        set_enabled(panel, r.panel_enabled);
        EXPECT_TRUE(label.own_enabled());
        set_style_property(label.style(), "label_font_color", {1, 0, 0, r.colour_alpha});
        paint();
        const auto found = peak_red(area);
        EXPECT_NEAR(found.red, r.expected_red, 2);
        EXPECT_GT(found.count, 100);  // a solid inside, not a few edge pixels
        canvas.save_snapshot(r.panel_enabled ? "enabled" : "disabled");
    }
    overrides = saved;
}

TEST_F(TextLabelTest, InRichModeTheMarkupIsDrawnOnlyOnceReady)
{
    set_style_property(label.style(), "default_back_color", black);
    auto markup = new_rich_text();
    markup->text() = L"\u2588\u2588\u2588";
    markup->spans().push_back({{0, 3}, L"font", L"color=\"#FF0000\""});
    label.set_rich_text(&markup);
    EXPECT_TRUE(label.rich_mode());
    paint();
    EXPECT_EQ(pixels_unlike({10, 10, 200, 60}, opaque_black), 0);
    markup->set_ready(true);
    paint();
    EXPECT_GT(peak_red({10, 10, 200, 60}).red, 200);
}

}  // namespace
