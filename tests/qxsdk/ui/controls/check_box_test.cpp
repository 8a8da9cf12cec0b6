// The check box in a real window under real input: disabled until bound, any mouse button, Space on release.
#include "qxsdk/ui/controls/check_box.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "qxsdk/ui/core/event_codes.h"
#include "tests/qxsdk/ui/controls/hover.h"
#include "tests/qxsdk/ui/window/window_test_support.h"

namespace {

using namespace window_test;

const std::string toggled_once = "box 26 0";

class CheckBoxTest : public ShownWindowTest {
protected:
    CheckBoxTest()
    {
        attach_widget(box, win.root(), {20, 20, 200, 24});
        box.set_text("Remember me");
        log.watch(box, "box", {event_code::toggled});
    }

    void click_box(DWORD down = MOUSEEVENTF_LEFTDOWN, DWORD up = MOUSEEVENTF_LEFTUP)
    {
        click(win, {60, 30}, down, up);
        pump_for(60ms);
    }

    CheckBox box;
};

TEST_F(CheckBoxTest, AttachingCentresTheDefaultStripAndDisablesTheBox)
{
    EXPECT_EQ(box.name(), "CheckBox");
    EXPECT_TRUE(box.focusable());
    EXPECT_FALSE(box.own_enabled());
    EXPECT_EQ(box.layout_mode(), 2);
    EXPECT_EQ(box.frame_size(), (size_units{14, 14}));
    EXPECT_EQ(box.image_box().y, 5);
    // Centred: as much room left of the picture as right of the caption (up to the odd unit).
    const int left = box.image_box().x;
    const int right = 200 - (box.text_box().x + box.text_box().width);
    EXPECT_NEAR(left, right, 1);
    EXPECT_EQ(box.text_box().x, left + 14 + 5);
}

TEST_F(CheckBoxTest, AnAttachedButUnboundBoxIgnoresClicks)
{
    click_box();
    EXPECT_FALSE(box.checked());
    EXPECT_TRUE(log.entries.empty());
}

TEST_F(CheckBoxTest, BindingATrueFlagShowsItCheckedWithoutToggled)
{
    box.bind_value(nullptr);  // ignored: still disabled
    EXPECT_FALSE(box.own_enabled());
    bool flag = true;
    box.bind_value(&flag);
    EXPECT_TRUE(box.enabled());
    EXPECT_TRUE(box.checked());
    EXPECT_TRUE(flag);
    pump_for(30ms);
    EXPECT_TRUE(log.entries.empty());
}

TEST_F(CheckBoxTest, EveryMouseButtonReleaseTogglesTheBoundFlag)
{
    bool flag = false;
    box.bind_value(&flag);
    const std::vector<std::pair<DWORD, DWORD>> buttons = {{MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP},
                                                          {MOUSEEVENTF_MIDDLEDOWN, MOUSEEVENTF_MIDDLEUP},
                                                          {MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP}};
    bool expected = false;
    for (const auto& [down, up] : buttons) {
        click_box(down, up);
        expected = !expected;
        EXPECT_EQ(box.checked(), expected);
        EXPECT_EQ(flag, expected);
    }
    EXPECT_EQ(log.entries, std::vector<std::string>(3, toggled_once));
}

TEST_F(CheckBoxTest, SpaceTogglesOnReleaseAndEnterDoesNothing)
{
    bool flag = false;
    box.bind_value(&flag);
    set_focus_widget(win, &box, focus_reason::tab);
    press_key(VK_RETURN);
    pump_for(60ms);
    EXPECT_FALSE(flag);

    send_key(VK_SPACE, false);
    pump_for(60ms);
    EXPECT_FALSE(flag) << "toggled on key down";
    send_key(VK_SPACE, true);
    pump_for(60ms);
    EXPECT_TRUE(flag);
    EXPECT_EQ(log.entries, std::vector<std::string>{toggled_once});
}

TEST_F(CheckBoxTest, TheCursorOverABoundBoxHoversIt)
{
    bool flag = false;
    box.bind_value(&flag);
    controls_test::hover_at(win, {60, 30});
    EXPECT_TRUE(box.hovered());
    move_cursor_to(win, {300, 200});
    pump_for(60ms);
    EXPECT_FALSE(box.hovered());
}

TEST_F(CheckBoxTest, ANewPictureIsDecodedAfterItsStyleChangeAndSetsTheFrameSize)
{
    // The 8 x 5 one-frame drop-down arrow in place of the 14 x 28 two-frame strip.
    set_style_alias(box.style(), "checkbox_image", "dropdown_button_image");
    EXPECT_EQ(box.frame_size(), (size_units{8, 5}));
    EXPECT_TRUE(box.picture().loaded());
    EXPECT_EQ(box.image_box().width, 8);
    // A key the check box does not read still lays it out again, in the mode it had.
    box.update_layout(0);
    set_style_property(box.style(), "label_font_color", {1, 0, 0, 1});
    EXPECT_EQ(box.layout_mode(), 0);
    EXPECT_EQ(box.image_box().x, 0);
}

TEST_F(CheckBoxTest, SettingTheTextLaysOutInTheStoredModeWithTheGapOnlyForACaption)
{
    box.update_layout(0);
    box.set_text("");
    EXPECT_EQ(box.text_box(), (rect{14, 12, 0, 0}));
    box.set_text("Wider caption");
    EXPECT_EQ(box.text_box().x, 19);
    EXPECT_GT(box.text_box().width, 0);
}

TEST_F(CheckBoxTest, AttachingAgainDoesNotBindTheHandlersTwice)
{
    remove_child(win.root(), box);
    attach_widget(box, win.root(), {20, 20, 200, 24});
    EXPECT_FALSE(box.own_enabled());
    bool flag = false;
    box.bind_value(&flag);
    click_box();
    EXPECT_TRUE(flag);
    EXPECT_EQ(log.entries, std::vector<std::string>{toggled_once});
}

}  // namespace
