// The wizard's button: its pixels enabled, disabled and without a caption, the hover border under the
// real cursor, and the border colour a disabled button falls back to.
#include "installer/ui/installer_button.h"
#include "installer/ui/installer_button_detail.h"
#include "tests/installer/wizard_test_support.h"
#include "tests/qxsdk/ui/controls/hover.h"
#include "tests/qxsdk/ui/controls/pixel_window.h"

namespace {

using installer::ui::InstallerButton;
using namespace qxsdk::ui;
using namespace qxsdk::ui::testing;
using installer::ui::InstallerUI;
using installer::ui::WizardPage;
using namespace std::chrono_literals;

class InstallerButtonPixels : public controls_test::PixelWindowTest {
protected:
    InstallerButtonPixels() { attach_widget(button, win.root(), area); }

    // The colour channels as the bitmap holds them (premultiplied by an opaque alpha: unchanged).
    static std::uint8_t channel(float value) { return static_cast<std::uint8_t>(value * 255.0f + 0.5f); }
    static bgra grey(float value) { return {channel(value), channel(value), channel(value), 255}; }

    const rect area{20, 20, 85, 30};
    InstallerButton button;
};

TEST_F(InstallerButtonPixels, EnabledAndDisabledFillAndBorderInTheirColours)
{
    struct look_case {
        bool enabled;
        float fill;
    };
    for (const look_case& c : {look_case{true, 0.212f}, look_case{false, 0.157f}}) {
        SCOPED_TRACE(c.enabled);
        set_enabled(button, c.enabled);
        // A widget drawn before may leave the dotted line style set: the border stays solid.
        win.get_painter()->get_renderer().set_line_style(1);
        paint();
        const rect inside{area.x + 1, area.y + 1, area.width - 2, 4};
        EXPECT_EQ(pixels_unlike(inside, grey(c.fill)), 0);
        const rect top_edge{area.x, area.y, area.width, 1};
        const rect left_edge{area.x, area.y, 1, area.height};
        EXPECT_EQ(pixels_unlike(top_edge, grey(0.4f)), 0);
        EXPECT_EQ(pixels_unlike(left_edge, grey(0.4f)), 0);
    }
}

TEST_F(InstallerButtonPixels, AnEmptyCaptionDrawsOnlyTheBoxAndTheCaptionDrawsInTheMiddle)
{
    const rect inner{area.x + 1, area.y + 1, area.width - 2, area.height - 2};
    paint();
    EXPECT_EQ(pixels_unlike(inner, grey(0.212f)), 0);
    button.set_text("Next >");
    paint();
    const rect middle{area.x + 20, area.y + 8, area.width - 40, area.height - 16};
    EXPECT_GT(pixels_unlike(middle, grey(0.212f)), 10);
    EXPECT_GT(peak_red(middle).red, 150);  // the caption's light grey
}

class InstallerButtonHover : public wizard_test::WizardTest {};

TEST_F(InstallerButtonHover, TheBorderLightensUnderTheCursorAndADisabledButtonLosesIt)
{
    InstallerUI& w = open_wizard();
    const rect next = w.next_button().geometry();
    controls_test::hover_at(w, {next.x + 10, next.y + 10});
    EXPECT_EQ(w.next_button().border_color(), installer::ui::button_border_hover);
    // The progress page disables Next under the cursor: it gets no mouse_leave, its next paint drops the hover.
    w.set_page(WizardPage::progress);
    window_test::pump_for(100ms);
    EXPECT_FALSE(w.next_button().enabled());
    EXPECT_EQ(w.next_button().border_color(), installer::ui::button_border_normal);
    controls_test::hover_at(w, {5, 5});
    EXPECT_EQ(w.next_button().border_color(), installer::ui::button_border_normal);
    const rect cancel = w.cancel_button().geometry();
    controls_test::hover_at(w, {cancel.x + 10, cancel.y + 10});
    EXPECT_EQ(w.cancel_button().border_color(), installer::ui::button_border_hover);
    controls_test::hover_at(w, {5, 5});
    EXPECT_EQ(w.cancel_button().border_color(), installer::ui::button_border_normal);
    ASSERT_TRUE(wait_until_finished());
}

}  // namespace
