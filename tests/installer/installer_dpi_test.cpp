// The wizard at 150 % display scaling: in a Wine prefix whose display reports 144 DPI, on the 1280 x 1024
// screen of the test display. Every page is grabbed from the screen and kept when snapshots are asked for.
#include "tests/installer/wizard_test_support.h"

namespace {

using namespace wizard_test;
using installer_test::ScratchFolder;

TEST_F(WizardTest, At144DpiTheWindowIsScaledAndKeptOnTheScreen)
{
    InstallerUI& w = open_wizard();
    ASSERT_EQ(w.native().dpi().x, 144);
    RECT client{};
    GetClientRect(w.native().handle(), &client);
    EXPECT_EQ(client.right, 750);
    EXPECT_EQ(client.bottom, 540);

    // At (600, 200) the window would end past the screen's right edge: it is moved back in, and only so far.
    RECT outer{};
    GetWindowRect(w.native().handle(), &outer);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(MonitorFromWindow(w.native().handle(), MONITOR_DEFAULTTONEAREST), &monitor);
    ASSERT_LT(monitor.rcWork.right, 600 + (outer.right - outer.left));
    EXPECT_EQ(outer.right, monitor.rcWork.right);
    EXPECT_EQ(outer.top, 200);
    EXPECT_LE(outer.bottom, monitor.rcWork.bottom);

    // So the Cancel button and the close box can be reached.
    POINT on_screen = client_pixel_of(w.cancel_button(), {42, 15});
    ClientToScreen(w.native().handle(), &on_screen);
    EXPECT_LT(on_screen.x, monitor.rcWork.right);
}

TEST_F(WizardTest, At144DpiEveryPageShowsTheBannerFillingItsColumnAndWholeTicks)
{
    ScratchFolder folder(L"wizard-dpi144");
    host_registry::set_path(L"11", folder.path());
    InstallerUI& w = open_wizard();
    grab_wizard("wizard-144-page-0");

    click_on(w.next_button());
    const std::optional<screen_grab> boxes = grab_wizard("wizard-144-page-1");
    ASSERT_TRUE(boxes);
    // The ticked CS6 box: its 14-unit picture covers 21 pixels, blue ground with the whole white tick.
    CheckBox& cs6 = w.version_box(4);
    ASSERT_TRUE(cs6.checked());
    const POINT corner = client_pixel_of(cs6, {cs6.image_box().x, cs6.image_box().y});
    bright_pixels tick;
    int other_frame = 0;
    for (std::int32_t y = 2; y < 19; ++y) {  // inside the border
        for (std::int32_t x = 2; x < 19; ++x) {
            const window_test::bgra p = boxes->at_client(w.native().handle(), corner.x + x, corner.y + y);
            tick.add(x, y, p);
            other_frame += p.blue < 0xBC ? 1 : 0;  // the unticked frame's dark grey; the ticked one is blue
        }
    }
    // 19 near-white pixels in the picture, scaled by 1.5 x 1.5.
    EXPECT_NEAR(tick.count, 19 * 2.25, 19 * 2.25 * 0.35);
    EXPECT_EQ(other_frame, 0);

    click_on(w.next_button());
    grab_wizard("wizard-144-page-2");

    click_on(w.next_button());
    ASSERT_TRUE(wait_until_finished());
    grab_wizard("wizard-144-page-3");
}

}  // namespace
