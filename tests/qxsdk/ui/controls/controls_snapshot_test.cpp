// Screen grabs of every control, normal, hovered and disabled, for review; saved only when
// QXSDK_TEST_SNAPSHOTS names a folder.
#include <gtest/gtest.h>

#include <array>
#include <string>

#include "qxsdk/ui/controls/check_box.h"
#include "qxsdk/ui/controls/generic_button.h"
#include "qxsdk/ui/controls/generic_panel.h"
#include "qxsdk/ui/controls/message_popup.h"
#include "qxsdk/ui/controls/text_label.h"
#include "tests/qxsdk/ui/controls/hover.h"
#include "tests/qxsdk/ui/window/window_test_support.h"

namespace {

using namespace window_test;

constexpr color page_color{0.2313f, 0.2313f, 0.2549f, 1.0f};

// Each control twice: enabled in the left column, disabled in the right one.
class ControlsSnapshot : public ::testing::Test {
protected:
    ControlsSnapshot()
    {
        win.create_window("Controls", {500, 350, 460, 200});
        attach_widget(page, win.root(), {0, 0, 460, 200});
        set_style_property(page.style(), "default_back_color", page_color);
        for (int column = 0; column < 2; ++column) {
            const int x = 20 + column * 220;
            TextLabel& label = labels[column];
            attach_widget(label, page, {x, 20, 200, 24});
            set_style_property(label.style(), "default_back_color", page_color);
            label.set_text(column == 0 ? "A label" : "A disabled label", false);
            CheckBox& box = boxes[column];
            attach_widget(box, page, {x, 60, 200, 24});
            box.set_text(column == 0 ? "A check box" : "A disabled check box");
            box.update_layout(0);
            box.bind_value(&flags[column]);
            GenericButton& button = buttons[column];
            attach_widget(button, page, {x, 110, 120, 30});
            button.set_text(column == 0 ? "A button" : "Disabled");
        }
        set_enabled(labels[1], false);
        set_enabled(boxes[1], false);
        set_enabled(buttons[1], false);
        ShowWindow(win.native().handle(), SW_SHOW);
        SetForegroundWindow(win.native().handle());
        move_cursor_to(win, {440, 190});
        pump_for(150ms);
    }

    window win;
    GenericPanel page;
    std::array<bool, 2> flags{true, true};
    std::array<TextLabel, 2> labels;
    std::array<CheckBox, 2> boxes;
    std::array<GenericButton, 2> buttons;
};

TEST_F(ControlsSnapshot, NormalHoveredAndDisabled)
{
    EXPECT_TRUE(save_screen_snapshot("Controls.Normal"));
    controls_test::hover_at(win, {60, 72});
    EXPECT_TRUE(boxes[0].hovered());
    EXPECT_TRUE(save_screen_snapshot("Controls.CheckBoxHovered"));
    controls_test::hover_at(win, {80, 125});
    EXPECT_TRUE(buttons[0].hovered());
    EXPECT_TRUE(save_screen_snapshot("Controls.ButtonHovered"));
}

TEST(PopupSnapshot, TwoButtons)
{
    MessagePopup popup;
    show_message_popup(popup, nullptr, "Exit Installer", "Are you sure you want to exit the installer?",
                       popup_type::ok_cancel);
    ShowWindow(popup.native().handle(), SW_SHOW);
    SetForegroundWindow(popup.native().handle());
    pump_for(150ms);
    EXPECT_TRUE(save_screen_snapshot("Controls.MessagePopup"));
}

}  // namespace
