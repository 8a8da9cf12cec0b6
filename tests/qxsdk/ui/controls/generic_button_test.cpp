// The push button in a real window under real input: any mouse button, Enter on key down, toggle mode.
#include "qxsdk/ui/controls/generic_button.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "qxsdk/ui/core/event_codes.h"
#include "tests/qxsdk/ui/controls/hover.h"
#include "tests/qxsdk/ui/window/window_test_support.h"

namespace {

using namespace window_test;

class GenericButtonTest : public ShownWindowTest {
protected:
    GenericButtonTest()
    {
        attach_widget(button, win.root(), {20, 20, 100, 30});
        button.set_text("Apply");
        log.watch(button, "button", {event_code::button_clicked});
    }

    void click_button(DWORD down = MOUSEEVENTF_LEFTDOWN, DWORD up = MOUSEEVENTF_LEFTUP)
    {
        click(win, {70, 35}, down, up);
        pump_for(60ms);
    }

    GenericButton button;
};

TEST_F(GenericButtonTest, APushButtonReportsEveryMouseButtonWithValueZero)
{
    EXPECT_TRUE(button.focusable());
    EXPECT_EQ(button.name(), "Widget");
    click_button(MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP);
    click_button(MOUSEEVENTF_MIDDLEDOWN, MOUSEEVENTF_MIDDLEUP);
    click_button();
    EXPECT_EQ(log.entries, std::vector<std::string>(3, "button 27 0"));
    EXPECT_FALSE(button.toggled());
}

TEST_F(GenericButtonTest, EnterClicksOnKeyDownAndSpaceDoesNothing)
{
    set_focus_widget(win, &button, focus_reason::tab);
    press_key(VK_SPACE);
    pump_for(60ms);
    EXPECT_TRUE(log.entries.empty());
    send_key(VK_RETURN, false);
    pump_for(60ms);
    EXPECT_EQ(log.entries, std::vector<std::string>{"button 27 0"});
    send_key(VK_RETURN, true);
    pump_for(60ms);
    EXPECT_EQ(log.entries.size(), 1u);
}

TEST_F(GenericButtonTest, InToggleModeEachClickFlipsTheStateItReports)
{
    button.set_toggle_mode(true);
    click_button();
    EXPECT_TRUE(button.toggled());
    click_button();
    EXPECT_FALSE(button.toggled());
    EXPECT_EQ(log.entries, (std::vector<std::string>{"button 27 1", "button 27 0"}));
}

TEST_F(GenericButtonTest, ADisabledButtonHearsNoClick)
{
    set_enabled(button, false);
    click_button();
    EXPECT_TRUE(log.entries.empty());
}

TEST_F(GenericButtonTest, TheCursorOverTheButtonHoversIt)
{
    controls_test::hover_at(win, {70, 35});
    EXPECT_TRUE(button.hovered());
    move_cursor_to(win, {300, 200});
    pump_for(60ms);
    EXPECT_FALSE(button.hovered());
}

}  // namespace
