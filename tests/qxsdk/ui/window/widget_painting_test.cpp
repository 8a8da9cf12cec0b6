// The paint recursion drawn into a bitmap: shadows under their widgets, later siblings over earlier ones.
#include "qxsdk/ui/window/widget_painting.h"

#include <gtest/gtest.h>

#include "qxsdk/ui/core/event_codes.h"
#include "qxsdk/ui/core/event_dispatcher.h"
#include "tests/qxsdk/ui/draw/bitmap_canvas.h"

namespace {

using namespace qxsdk::ui;
using namespace qxsdk::ui::testing;

constexpr color white{1, 1, 1, 1};
constexpr color red{1, 0, 0, 1};
constexpr color blue{0, 0, 1, 1};
constexpr bgra opaque_blue{255, 0, 0, 255};

// A 200 x 150 white root; a red card (40, 40, 60, 40) with a shadow of size 20 and a blue card
// (80, 60, 60, 40) over its lower right corner.
class WidgetPaintingTest : public ::testing::Test {
protected:
    WidgetPaintingTest()
    {
        create_widget(root, {0, 0, 200, 150});
        attach_widget(card, root, {40, 40, 60, 40});
        attach_widget(cover, root, {80, 60, 60, 40});
        card.shadow().on = true;
        fill_on_paint(root, white);
        fill_on_paint(card, red);
        fill_on_paint(cover, blue);
    }

    void fill_on_paint(widget& w, color fill)
    {
        connect_event(w, event_code::paint, [this, &w, fill](const event_info&) {
            canvas.painter().set_fill_color(fill);
            canvas.painter().fill_rect({0, 0, w.geometry().width, w.geometry().height});
        });
    }

    bitmap_canvas canvas{200, 150};
    widget root;
    widget card;
    widget cover;
};

TEST_F(WidgetPaintingTest, ShadowsFallBetweenTheParentAndTheChildrenAndLaterSiblingsCoverEarlierOnes)
{
    paint_widget_tree(canvas.painter(), root, {0, 0, 200, 150});
    canvas.save_snapshot();
    canvas.expect_pixels({
        {5, 5, opaque_white},   // far from every card
        {50, 50, opaque_red},   // the card covers its own shadow
        {90, 70, opaque_blue},  // the later sibling over the card
        {150, 140, opaque_white},
    });
    // Just outside the card's left edge the shadow darkens the white without reaching black.
    const bgra shaded = canvas.pixel(36, 60);
    EXPECT_LT(shaded.red, 250);
    EXPECT_GT(shaded.red, 0);
    // The red card's shadow reaches under the blue card beyond the red one, and the blue card covers it.
    EXPECT_EQ(canvas.pixel(105, 85), opaque_blue);
}

TEST_F(WidgetPaintingTest, OnlyWidgetsTouchingTheDirtyAreaAreDrawn)
{
    // The dirty area touches the blue card's right edge (x 140) only.
    int cover_painted = 0;
    connect_event(cover, event_code::paint, [&](const event_info&) { ++cover_painted; });
    paint_widget_tree(canvas.painter(), root, {140, 90, 160, 95});
    EXPECT_EQ(cover_painted, 1);
    EXPECT_EQ(canvas.pixel(50, 50), untouched);  // the red card lies outside both dirty areas
    EXPECT_EQ(canvas.pixel(150, 92), opaque_white);
}

}  // namespace
