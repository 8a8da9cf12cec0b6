// The wizard's rectangles from the root's size and the banner's width.
#include "installer/wizard_layout.h"

#include <gtest/gtest.h>

namespace {

using installer::make_wizard_layout;
using installer::rect;

TEST(WizardLayout, TheInstallersWindowAndBannerGiveThePlacesItShows)
{
    const installer::wizard_layout layout = make_wizard_layout(500, 360, 160);
    EXPECT_EQ(layout.page_width, 320);
    EXPECT_EQ(layout.page_height, 250);
    EXPECT_EQ(layout.title, (rect{170, 0, 320, 50}));
    EXPECT_EQ(layout.page, (rect{170, 50, 320, 250}));
    EXPECT_EQ(layout.intro, (rect{10, 20, 320, 200}));
    EXPECT_EQ(layout.summary_panel, (rect{0, 60, 320, 190}));
    EXPECT_EQ(layout.summary_scroll_bar, (rect{305, 0, 15, 190}));
    EXPECT_EQ(layout.summary_label, (rect{10, 10, 285, 800}));
    EXPECT_EQ(layout.progress, (rect{0, 50, 300, 200}));
    EXPECT_EQ(layout.back, (rect{200, 320, 85, 30}));
    EXPECT_EQ(layout.next, (rect{290, 320, 85, 30}));
    EXPECT_EQ(layout.cancel, (rect{405, 320, 85, 30}));
    EXPECT_EQ(layout.bottom_band, (rect{0, 310, 500, 50}));
}

TEST(WizardLayout, RowsOfCheckBoxesPushBrowseAndThePathDown)
{
    const installer::wizard_layout layout = make_wizard_layout(500, 360, 160);
    struct row_case {
        std::int32_t boxes;
        std::int32_t last_box_y;
        std::int32_t browse_y;
    };
    for (const row_case& c : {row_case{1, 55, 85}, row_case{3, 105, 135}, row_case{7, 205, 235}}) {
        SCOPED_TRACE(c.boxes);
        EXPECT_EQ(layout.version_box(c.boxes - 1), (rect{20, c.last_box_y, 290, 25}));
        EXPECT_EQ(layout.browse(c.boxes), (rect{20, c.browse_y, 80, 15}));
        EXPECT_EQ(layout.custom_path(c.boxes), (rect{110, c.browse_y, 210, 50}));
    }
}

TEST(WizardLayout, ABannerThatDidNotDecodeMovesThePagesLeft)
{
    const installer::wizard_layout layout = make_wizard_layout(500, 360, 0);
    EXPECT_EQ(layout.page, (rect{10, 50, 480, 250}));
    EXPECT_EQ(layout.progress, (rect{0, 50, 460, 200}));
    EXPECT_EQ(layout.cancel, (rect{405, 320, 85, 30}));
}

}  // namespace
