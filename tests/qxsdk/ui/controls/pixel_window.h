#pragma once
// A created but hidden window whose paints go into a WIC bitmap, so controls draw exactly as in a window
// and their pixels can be read back.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <memory>

#include "qxsdk/ui/window/widget_painting.h"
#include "qxsdk/ui/window/window.h"
#include "tests/qxsdk/ui/draw/bitmap_canvas.h"

namespace controls_test {

using namespace qxsdk::ui;
using namespace qxsdk::ui::testing;

class PixelWindowTest : public ::testing::Test {
protected:
    static constexpr std::int32_t width = 240;
    static constexpr std::int32_t height = 120;

    PixelWindowTest()
    {
        win.create_window("pixels", {0, 0, width, height});
        win.set_painter(std::make_unique<painter>(canvas.take_renderer()));
    }

    void paint() { paint_widget_tree(win, win.root(), {0, 0, width, height}); }

    // The largest red value inside an area, and how many pixels have it.
    struct peak {
        std::uint8_t red = 0;
        int count = 0;
    };
    peak peak_red(const rect& area) const
    {
        peak found;
        for (std::int32_t y = area.y; y < area.y + area.height; ++y) {
            for (std::int32_t x = area.x; x < area.x + area.width; ++x) {
                const std::uint8_t red = canvas.pixel(static_cast<std::uint32_t>(x), static_cast<std::uint32_t>(y)).red;
                if (red > found.red) {
                    found = {red, 0};
                }
                found.count += red == found.red ? 1 : 0;
            }
        }
        return found;
    }

    // How many pixels of the area differ from the colour.
    int pixels_unlike(const rect& area, bgra value) const
    {
        int count = 0;
        for (std::int32_t y = area.y; y < area.y + area.height; ++y) {
            for (std::int32_t x = area.x; x < area.x + area.width; ++x) {
                count += canvas.pixel(static_cast<std::uint32_t>(x), static_cast<std::uint32_t>(y)) == value ? 0 : 1;
            }
        }
        return count;
    }

    bitmap_canvas canvas{width, height};
    window win;
};

}  // namespace controls_test
