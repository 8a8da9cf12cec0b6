// The message pop-up as a real modal window under real input: sizes, buttons by type, Enter, the close box.
#include "qxsdk/ui/controls/message_popup.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "qxsdk/ui/core/event_codes.h"
#include "tests/qxsdk/ui/window/window_test_support.h"

namespace {

using namespace window_test;

constexpr std::int32_t watchdog_key = 99;

class MessagePopupTest : public ::testing::Test {
protected:
    // Runs the pop-up's loop with a watchdog that ends it after a few seconds; false when it had to.
    bool run_modal_guarded()
    {
        bool timed_out = false;
        connect_event(popup, event_code::timer, [&](const event_info& event) {
            if (event.value == watchdog_key) {
                timed_out = true;
                popup.end_modal();
            }
        });
        popup.add_timer(popup, watchdog_key, 4000, true);
        popup.run_modal();
        popup.kill_timer(popup, watchdog_key);
        return !timed_out;
    }

    void show_and_activate()
    {
        ShowWindow(popup.native().handle(), SW_SHOW);
        SetForegroundWindow(popup.native().handle());
        SetFocus(popup.native().handle());
        pump_for(80ms);
    }

    MessagePopup popup;
};

TEST_F(MessagePopupTest, AnEmptyMessageGivesTheSmallestPopupWithTheFirstButtonFocused)
{
    show_message_popup(popup, nullptr, "Notice", "", popup_type::ok);
    const rect client = popup.get_client_size();
    EXPECT_EQ(client.width, 360);
    EXPECT_EQ(client.height, 90);
    EXPECT_EQ(popup.first_button().geometry(), (rect{240, 40, 100, 30}));
    EXPECT_EQ(popup.first_button().text(), "OK");
    EXPECT_FALSE(popup.second_button().created());
    EXPECT_EQ(popup.focused(), &popup.first_button());
    EXPECT_FALSE(popup.do_not_show_check_box().own_visible());
    EXPECT_EQ(popup.do_not_show_check_box().text(), "Do not show this again");
    EXPECT_FALSE(IsWindowVisible(popup.native().handle()));
}

TEST_F(MessagePopupTest, TwoButtonTypesPlaceTheirAnswersSideBySide)
{
    struct row {
        std::int32_t type;
        const char* first;
        const char* second;
    };
    const row rows[] = {{popup_type::ok_cancel, "OK", "Cancel"}, {popup_type::yes_no, "Yes", "No"}};
    for (const row& r : rows) {
        SCOPED_TRACE(r.first);
        MessagePopup two;
        show_message_popup(two, nullptr, "Question", "Go on?", r.type);
        const rect client = two.get_client_size();
        EXPECT_EQ(client.width, 360);
        EXPECT_EQ(two.first_button().text(), r.first);
        EXPECT_EQ(two.second_button().text(), r.second);
        EXPECT_EQ(two.first_button().geometry(), (rect{130, client.height - 50, 100, 30}));
        EXPECT_EQ(two.second_button().geometry(), (rect{240, client.height - 50, 100, 30}));
        EXPECT_EQ(client.height, two.message_box().height + 90);
    }
}

TEST_F(MessagePopupTest, ALongLineWidensThePopupAndTheMessageIsItsOwnCopy)
{
    {
        const std::string message(120, 'w');
        show_message_popup(popup, nullptr, "Long", message, popup_type::ok);
    }
    EXPECT_EQ(popup.message(), std::string(120, 'w'));
    const rect client = popup.get_client_size();
    EXPECT_GT(client.width, 360);
    EXPECT_EQ(client.width, popup.message_box().width + 40);
    EXPECT_EQ(popup.first_button().geometry().x, client.width - 120);
}

TEST_F(MessagePopupTest, ATypeOutsideZeroToTwoIsRejectedBeforeAnyWindowExists)
{
    EXPECT_THROW(show_message_popup(popup, nullptr, "Bad", "type", 3), std::invalid_argument);
    EXPECT_THROW(show_message_popup(popup, nullptr, "Bad", "type", -1), std::invalid_argument);
    EXPECT_EQ(popup.native().handle(), nullptr);
}

TEST_F(MessagePopupTest, EnterOnTheFocusedFirstButtonEndsTheLoopWithOne)
{
    window owner;
    owner.create_window("owner", {100, 100, 500, 300});
    ShowWindow(owner.native().handle(), SW_SHOW);
    show_message_popup(popup, &owner, "Exit Installer", "Do you want to exit?", popup_type::ok_cancel);
    popup.set_modal_result(0);
    show_and_activate();
    press_key(VK_RETURN);
    ASSERT_TRUE(run_modal_guarded());
    EXPECT_EQ(popup.modal_result(), 1);
    EXPECT_TRUE(IsWindowEnabled(owner.native().handle()));
}

TEST_F(MessagePopupTest, ClickingTheSecondButtonEndsTheLoopWithZero)
{
    show_message_popup(popup, nullptr, "Failed to install", "Try again?", popup_type::yes_no);
    popup.set_modal_result(5);
    show_and_activate();
    const rect no = popup.second_button().geometry();
    click(popup, {no.x + no.width / 2, no.y + no.height / 2});
    ASSERT_TRUE(run_modal_guarded());
    EXPECT_EQ(popup.modal_result(), 0);
}

TEST_F(MessagePopupTest, TheCloseBoxKeepsTheResultTheCallerSet)
{
    show_message_popup(popup, nullptr, "Notice", "Closed by its frame", popup_type::ok_cancel);
    popup.set_modal_result(7);
    show_and_activate();
    // The frame's close box, found by asking the window what lies along its caption row.
    const HWND handle = popup.native().handle();
    RECT frame{};
    GetWindowRect(handle, &frame);
    POINT client_corner{0, 0};
    ClientToScreen(handle, &client_corner);
    const LONG caption_y = (frame.top + client_corner.y) / 2;
    POINT close_box{-1, -1};
    for (LONG x = frame.right - 1; x > frame.left && close_box.x < 0; --x) {
        if (SendMessageW(handle, WM_NCHITTEST, 0, MAKELPARAM(x, caption_y)) == HTCLOSE) {
            close_box = {x - 3, caption_y};
        }
    }
    ASSERT_GE(close_box.x, 0) << "no close box on the caption row";
    SetCursorPos(close_box.x, close_box.y);
    send_mouse(MOUSEEVENTF_LEFTDOWN);
    send_mouse(MOUSEEVENTF_LEFTUP);
    ASSERT_TRUE(run_modal_guarded());
    EXPECT_EQ(popup.modal_result(), 7);
}

}  // namespace
