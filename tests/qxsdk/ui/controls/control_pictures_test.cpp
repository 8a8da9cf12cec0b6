// The pictures of check boxes and buttons, drawn into a WIC bitmap: frames by state, one-frame strips.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "qxsdk/ui/controls/check_box.h"
#include "qxsdk/ui/controls/generic_button.h"
#include "qxsdk/ui/core/event_codes.h"
#include "qxsdk/ui/core/event_dispatcher.h"
#include "qxsdk/ui/core/pictures.h"
#include "qxsdk/ui/core/style_lookup.h"
#include "qxsdk/ui/draw/hresult_check.h"
#include "tests/qxsdk/ui/controls/pixel_window.h"
#include "tests/qxsdk/ui/window/screen_grab.h"

namespace {

using namespace controls_test;
using window_test::bright_pixels;

constexpr color black{0, 0, 0, 1};
constexpr color no_ink{0, 0, 0, 0};

class ControlPicturesTest : public PixelWindowTest {
protected:
    std::vector<bgra> pixels_of(const rect& area) const
    {
        std::vector<bgra> pixels;
        for (std::int32_t y = area.y; y < area.y + area.height; ++y) {
            for (std::int32_t x = area.x; x < area.x + area.width; ++x) {
                pixels.push_back(canvas.pixel(static_cast<std::uint32_t>(x), static_cast<std::uint32_t>(y)));
            }
        }
        return pixels;
    }

    // The picture's area in the window: the image box inside the control.
    static rect in_window(const widget& w, const rect& box)
    {
        return {w.geometry().x + box.x, w.geometry().y + box.y, box.width, box.height};
    }
};

TEST_F(ControlPicturesTest, ACheckBoxShowsItsCheckedFrameOnlyWhileEnabled)
{
    CheckBox box;
    attach_widget(box, win.root(), {10, 10, 120, 24});
    set_style_property(box.style(), "checkbox_back_color", black);
    bool flag = false;
    box.bind_value(&flag);
    const rect picture = in_window(box, {box.image_box().x + 2, box.image_box().y + 2, 10, 10});

    paint();
    const std::vector<bgra> unchecked = pixels_of(picture);
    box.toggle();
    paint();
    const std::vector<bgra> checked = pixels_of(picture);
    EXPECT_NE(checked, unchecked);
    set_enabled(box, false);
    paint();
    EXPECT_EQ(pixels_of(picture), unchecked);
    canvas.save_snapshot();
}

// The ticked frame of the check box strip at any display DPI: its 14 x 14 units cover exactly their pixels,
// the whole tick shows, scaled, and nothing of the unticked frame above it in the strip bleeds in. Without
// borders, so that only the picture is seen.
class CheckBoxPictureAtDpi : public ControlPicturesTest, public ::testing::WithParamInterface<float> {
protected:
    // The tick's pixels, in pixels of the picture's area.
    static bright_pixels tick_of(const std::vector<bgra>& pixels, std::int32_t width)
    {
        bright_pixels found;
        for (std::size_t i = 0; i < pixels.size(); ++i) {
            found.add(static_cast<std::int32_t>(i) % width, static_cast<std::int32_t>(i) / width, pixels[i]);
        }
        return found;
    }

    // The pixels a unit rectangle covers at the DPI: those it covers wholly, and those it touches.
    struct covered {
        rect whole;
        rect touched;
    };

    // Paints a ticked box at the DPI; the pixels of its picture.
    covered paint_ticked_box(CheckBox& box, float dpi)
    {
        require(win.get_painter()->get_renderer().target()).SetDpi(dpi, dpi);
        attach_widget(box, win.root(), {10, 10, 120, 24});
        set_style_property(box.style(), "checkbox_back_color", black);
        set_style_property(box.style(), "checkbox_border_color_normal", no_ink);
        box.bind_value(&ticked);
        paint();
        const rect units = in_window(box, box.image_box());
        return {to_pixels(units, dpi, false), to_pixels(units, dpi, true)};
    }

    // A unit rectangle in pixels: those it covers wholly, or all it touches.
    static rect to_pixels(const rect& units, float dpi, bool touched)
    {
        const auto edge = [dpi](std::int32_t u, bool up) {
            const float pixels = static_cast<float>(u) * dpi / 96.0f;
            return static_cast<std::int32_t>(up ? std::ceil(pixels) : std::floor(pixels));
        };
        const std::int32_t x = edge(units.x, !touched);
        const std::int32_t y = edge(units.y, !touched);
        return {x, y, edge(units.x + units.width, touched) - x, edge(units.y + units.height, touched) - y};
    }

    bool ticked = true;
};

TEST_P(CheckBoxPictureAtDpi, TheTickedFrameIsWholeScaledAndAlone)
{
    CheckBox at_96;
    const covered unscaled_area = paint_ticked_box(at_96, 96.0f);
    const bright_pixels unscaled = tick_of(pixels_of(unscaled_area.whole), 14);
    remove_child(win.root(), at_96);
    ASSERT_GT(unscaled.count, 10);

    const float scale = GetParam() / 96.0f;
    CheckBox box;
    const covered area = paint_ticked_box(box, GetParam());
    canvas.save_snapshot();
    const std::vector<bgra> picture = pixels_of(area.whole);
    const bright_pixels scaled = tick_of(picture, area.whole.width);
    const float shift_x = static_cast<float>(area.whole.x) - static_cast<float>(unscaled_area.whole.x) * scale;
    const float shift_y = static_cast<float>(area.whole.y) - static_cast<float>(unscaled_area.whole.y) * scale;

    // The tick fills the same share of the frame, in the same place.
    EXPECT_NEAR(scaled.count, unscaled.count * scale * scale, unscaled.count * scale * scale * 0.3);
    EXPECT_NEAR(scaled.left + shift_x, unscaled.left * scale, 1.5);
    EXPECT_NEAR(scaled.top + shift_y, unscaled.top * scale, 1.5);
    EXPECT_NEAR(scaled.right + shift_x, unscaled.right * scale, 1.5);
    EXPECT_NEAR(scaled.bottom + shift_y, unscaled.bottom * scale, 1.5);
    // Every pixel the ticked frame covers is its blue or the tick's white; the unticked frame's dark grey
    // would pull the blue down.
    const auto not_frame_one = std::count_if(picture.begin(), picture.end(), [](bgra p) { return p.blue < 0xBC; });
    EXPECT_EQ(not_frame_one, 0);
    // Nothing of the picture beyond the pixels it touches.
    const rect& t = area.touched;
    EXPECT_EQ(pixels_unlike({t.x - 2, t.y - 2, t.width + 4, 2}, opaque_black), 0);
    EXPECT_EQ(pixels_unlike({t.x - 2, t.y + t.height, t.width + 4, 2}, opaque_black), 0);
    EXPECT_EQ(pixels_unlike({t.x - 2, t.y, 2, t.height}, opaque_black), 0);
}

INSTANTIATE_TEST_SUITE_P(Dpi, CheckBoxPictureAtDpi, ::testing::Values(96.0f, 120.0f, 144.0f, 192.0f),
                         [](const ::testing::TestParamInfo<float>& dpi) {
                             return std::to_string(static_cast<int>(dpi.param));
                         });

TEST_F(ControlPicturesTest, AOneFrameStripIsDrawnWhateverTheState)
{
    CheckBox box;
    attach_widget(box, win.root(), {10, 10, 120, 24});
    set_style_property(box.style(), "checkbox_back_color", black);
    set_style_property(box.style(), "checkbox_border_color_normal", no_ink);
    set_style_property(box.style(), "checkbox_border_color_hover", no_ink);
    set_style_alias(box.style(), "checkbox_image", "dropdown_button_image");
    bool flag = true;
    box.bind_value(&flag);
    box.update_layout(0);
    const rect picture = in_window(box, box.image_box());
    ASSERT_EQ(picture.width, 8);
    paint();
    const std::vector<bgra> shown = pixels_of(picture);
    EXPECT_GT(pixels_unlike(picture, opaque_black), 0);
    box.toggle();
    fire_event(box, event_code::mouse_enter);
    paint();
    EXPECT_EQ(pixels_of(picture), shown);
}

TEST_F(ControlPicturesTest, AButtonShowsFrameOneWhileHoveredAndStripsWithoutFramesAreNoPicture)
{
    GenericButton button;
    attach_widget(button, win.root(), {10, 10, 100, 30});
    set_style_property(button.style(), "button_color_normal", black);
    set_style_property(button.style(), "button_color_hover", black);
    set_style_property(button.style(), "button_border_color_hover", black);
    paint();
    EXPECT_EQ(pixels_unlike({10, 10, 100, 30}, opaque_black), 0);  // no picture by default, no caption

    // The check box's 14 x 28 strip of two frames, centred.
    set_style_alias(button.style(), "button_back_image", "checkbox_image");
    paint();
    EXPECT_EQ(button.image_box(), (rect{43, 8, 14, 14}));
    const rect picture = in_window(button, button.image_box());
    const std::vector<bgra> normal = pixels_of(picture);
    fire_event(button, event_code::mouse_enter);
    paint();
    const std::vector<bgra> hovered = pixels_of(picture);
    EXPECT_NE(hovered, normal);
    fire_event(button, event_code::mouse_leave);
    paint();
    EXPECT_EQ(pixels_of(picture), normal);
}

TEST_F(ControlPicturesTest, AFocusedButtonHasAFocusBorderUntilHoveringReplacesIt)
{
    GenericButton button;
    attach_widget(button, win.root(), {10, 10, 100, 30});
    set_style_property(button.style(), "button_color_normal", black);
    set_style_property(button.style(), "button_color_hover", black);
    set_style_property(button.style(), "button_border_color_focus", {1, 0, 0, 1});
    set_style_property(button.style(), "button_border_color_hover", {0, 1, 0, 1});
    const rect top_edge{10, 10, 100, 1};
    constexpr bgra opaque_green{0, 255, 0, 255};

    paint();
    EXPECT_EQ(pixels_unlike(top_edge, opaque_black), 0);  // neither focused nor hovered: no border
    set_focus_widget(win, &button, focus_reason::tab);
    paint();
    // Wine 8 draws dash patterns solid, so only the focus border's colour is checked.
    EXPECT_GT(100 - pixels_unlike(top_edge, opaque_red), 10);
    fire_event(button, event_code::mouse_enter);
    paint();
    EXPECT_EQ(pixels_unlike(top_edge, opaque_green), 0);
    canvas.save_snapshot();
}

TEST_F(ControlPicturesTest, StripsWithoutFramesOrThatAreNoPictureAreLeftOutAndPaintingGoesOn)
{
    static constexpr std::uint8_t not_a_picture[] = {'n', 'o', 't', ' ', 'a', ' ', 'P', 'N', 'G'};
    struct row {
        const char* what;
        style_value strip;
    };
    const row rows[] = {
        {"zero frames", make_image_value(pictures::checkbox_strip, 0)},
        {"negative frames", make_image_value(pictures::checkbox_strip, -2)},
        {"bytes that are no picture", make_image_value(not_a_picture, 2)},
    };
    style_map& overrides = theme_overrides();
    const style_map saved = overrides;
    for (const row& r : rows) {
        SCOPED_TRACE(r.what);
        overrides.insert_or_assign("button_back_image", r.strip);
        overrides.insert_or_assign("checkbox_image", r.strip);
        GenericButton button;
        attach_widget(button, win.root(), {10, 10, 100, 30});
        set_style_property(button.style(), "button_color_normal", black);
        CheckBox box;
        attach_widget(box, win.root(), {10, 60, 100, 24});
        EXPECT_EQ(box.frame_size(), (size_units{0, 0}));
        EXPECT_NO_THROW(paint());
        EXPECT_EQ(pixels_unlike({10, 10, 100, 30}, opaque_black), 0);
        remove_child(win.root(), box);
        remove_child(win.root(), button);
    }
    overrides = saved;
}

}  // namespace
