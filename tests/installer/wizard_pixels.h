#pragma once
// What the wizard shows on screen, checked in grabs of the X display at the window's DPI: the ground between
// the banner and the title column, the bottom band, and the banner's bright blade at its place and size.

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>

#include "installer/ui/banner.h"
#include "qxsdk/ui/core/dpi_scale.h"
#include "qxsdk/ui/core/style_value.h"
#include "tests/qxsdk/ui/window/screen_grab.h"

namespace wizard_test {

using qxsdk::ui::dpi_scale;
using window_test::bright_pixels;
using window_test::screen_grab;

// The banner's blade as the picture holds it: at 96 DPI, its own pixels.
inline bright_pixels banner_blade()
{
    bright_pixels blade;
    const std::optional<screen_grab> picture = window_test::decode_picture(installer::ui::pictures::banner);
    if (!picture) {
        ADD_FAILURE() << "the banner does not decode";
        return blade;
    }
    for (std::int32_t y = 0; y < picture->height; ++y) {
        for (std::int32_t x = 0; x < picture->width; ++x) {
            blade.add(x, y, picture->at(x, y));
        }
    }
    return blade;
}

// Checks what every page shows. The banner is drawn in its size in units, so its blade covers its own
// pixels scaled by the DPI: at 144 DPI the 160 x 310 picture fills 240 x 465 pixels from the client origin.
inline void expect_wizard_frame(const screen_grab& grab, HWND window, const dpi_scale& dpi)
{
    const auto at = [&](std::int32_t x, std::int32_t y) {
        return grab.at_client(window, dpi.width_to_pixels(x), dpi.height_to_pixels(y));
    };
    EXPECT_TRUE(window_test::shows(at(165, 25), {0.176f, 0.176f, 0.176f, 1})) << "the ground beside the banner";
    EXPECT_TRUE(window_test::shows(at(20, 340), {0.275f, 0.275f, 0.275f, 1})) << "the bottom band";

    // Left of the title column nothing but the banner is bright.
    bright_pixels shown;
    for (std::int32_t y = 0; y < dpi.height_to_pixels(310); ++y) {
        for (std::int32_t x = 0; x < dpi.width_to_pixels(170); ++x) {
            shown.add(x, y, grab.at_client(window, x, y));
        }
    }
    static const bright_pixels picture = banner_blade();
    ASSERT_GT(picture.count, 100);
    const double sx = dpi.x / 96.0;
    const double sy = dpi.y / 96.0;
    EXPECT_NEAR(shown.left, picture.left * sx, 2.0);
    EXPECT_NEAR(shown.right, picture.right * sx, 2.0);
    EXPECT_NEAR(shown.top, picture.top * sy, 2.0);
    EXPECT_NEAR(shown.bottom, picture.bottom * sy, 2.0);
    EXPECT_NEAR(shown.count, picture.count * sx * sy, picture.count * sx * sy * 0.35);
}

}  // namespace wizard_test
