// Screen grabs of every control, normal, hovered and disabled, checked where their state shows and kept for
// review when QXSDK_TEST_SNAPSHOTS names a folder.
#include <gtest/gtest.h>

#include <array>
#include <optional>
#include <string>

#include "qxsdk/ui/controls/check_box.h"
#include "qxsdk/ui/controls/generic_button.h"
#include "qxsdk/ui/controls/generic_panel.h"
#include "qxsdk/ui/controls/message_popup.h"
#include "qxsdk/ui/controls/text_label.h"
#include "tests/qxsdk/ui/controls/hover.h"
#include "tests/qxsdk/ui/window/screen_grab.h"
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

// The grabs are kept for review when QXSDK_TEST_SNAPSHOTS names a folder; each is also checked where the
// state shows: the ticked picture, the white border of whatever the cursor is over.
TEST_F(ControlsSnapshot, NormalHoveredAndDisabled)
{
    const HWND handle = win.native().handle();
    const auto at = [&](const screen_grab& grab, const widget& w, point offset) {
        return grab.at_client(handle, w.geometry().x + page.geometry().x + offset.x,
                              w.geometry().y + page.geometry().y + offset.y);
    };
    const rect picture = boxes[0].image_box();
    constexpr color tick_blue{0x41 / 255.0f, 0x95 / 255.0f, 0xC0 / 255.0f, 1};
    constexpr color white{1, 1, 1, 1};

    const std::optional<screen_grab> normal = grab_screen("Controls.Normal");
    ASSERT_TRUE(normal);
    EXPECT_TRUE(shows(normal->at_client(handle, 5, 5), page_color));
    EXPECT_TRUE(shows(at(*normal, boxes[0], {picture.x + 2, picture.y + 2}), tick_blue));
    EXPECT_TRUE(shows(at(*normal, buttons[0], {3, 3}), {0.173f, 0.176f, 0.192f, 1}));

    controls_test::hover_at(win, {60, 72});
    EXPECT_TRUE(boxes[0].hovered());
    const std::optional<screen_grab> box_hovered = grab_screen("Controls.CheckBoxHovered");
    ASSERT_TRUE(box_hovered);
    EXPECT_TRUE(shows(at(*box_hovered, boxes[0], {picture.x, picture.y + picture.height / 2}), white));

    controls_test::hover_at(win, {80, 125});
    EXPECT_TRUE(buttons[0].hovered());
    const std::optional<screen_grab> button_hovered = grab_screen("Controls.ButtonHovered");
    ASSERT_TRUE(button_hovered);
    EXPECT_TRUE(shows(at(*button_hovered, buttons[0], {60, 0}), white));
    EXPECT_FALSE(shows(at(*button_hovered, boxes[0], {picture.x, picture.y + picture.height / 2}), white));
}

TEST(PopupSnapshot, TwoButtons)
{
    SetCursorPos(5, 5);
    MessagePopup popup;
    show_message_popup(popup, nullptr, "Exit Installer", "Are you sure you want to exit the installer?",
                       popup_type::ok_cancel);
    ShowWindow(popup.native().handle(), SW_SHOW);
    SetForegroundWindow(popup.native().handle());
    pump_for(150ms);
    const std::optional<screen_grab> grab = grab_screen("Controls.MessagePopup");
    ASSERT_TRUE(grab);
    const HWND handle = popup.native().handle();
    EXPECT_TRUE(shows(grab->at_client(handle, 5, 5), {0.2313f, 0.2313f, 0.2549f, 1}));
    for (const GenericButton* button : {&popup.first_button(), &popup.second_button()}) {
        const rect area = button->geometry();
        EXPECT_TRUE(shows(grab->at_client(handle, area.x + 4, area.y + 4), {0.173f, 0.176f, 0.192f, 1}));
    }
    // The message is drawn: light text on the dark ground.
    int lit = 0;
    for (std::int32_t x = 20; x < 300; ++x) {
        for (std::int32_t y = 20; y < 40; ++y) {
            lit += grab->at_client(handle, x, y).red > 160 ? 1 : 0;
        }
    }
    EXPECT_GT(lit, 50);
}

}  // namespace
