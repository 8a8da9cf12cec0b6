#pragma once
// What the X display shows, for pixel checks of real windows: under Wine a Direct2D window cannot be read
// back through GDI, but the X server holds what it shows.

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <limits>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "tests/qxsdk/ui/draw/bitmap_canvas.h"

namespace window_test {

using qxsdk::ui::testing::bgra;

struct screen_grab {
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::vector<bgra> pixels;  // rows top to bottom; alpha is 255

    // A pixel of the screen; throws std::out_of_range off it.
    bgra at(std::int32_t x, std::int32_t y) const;
    // A pixel of a window's client area, in client pixels.
    bgra at_client(HWND window, std::int32_t x, std::int32_t y) const;
};

// A picture held in memory (PNG or any format the imaging component reads), in the same form.
std::optional<screen_grab> decode_picture(std::span<const std::uint8_t> data);

// The near-white pixels of a picture (every channel at least 224), and the box around them: where a bright
// stroke (the banner's blade, a check box's tick) lies, at whatever scale it was drawn.
struct bright_pixels {
    int count = 0;
    std::int32_t left = std::numeric_limits<std::int32_t>::max();
    std::int32_t top = std::numeric_limits<std::int32_t>::max();
    std::int32_t right = -1;  // exclusive
    std::int32_t bottom = -1;

    void add(std::int32_t x, std::int32_t y, const bgra& p)
    {
        if (std::min({p.red, p.green, p.blue}) < 0xE0) {
            return;
        }
        ++count;
        left = std::min(left, x);
        top = std::min(top, y);
        right = std::max(right, x + 1);
        bottom = std::max(bottom, y + 1);
    }
};

// Whether a grabbed pixel shows the colour, within a few levels per channel.
::testing::AssertionResult shows(bgra got, const qxsdk::ui::color& expected, int tolerance = 3);

// Grabs the display through the host's tools/x-root-snapshot.py (Wine starts host programs), running the
// thread's messages until the picture is there. The grab is kept as <folder>/<name>.png when
// QXSDK_TEST_SNAPSHOTS names a folder (a Linux path), for review. Nothing when the grab failed.
std::optional<screen_grab> grab_screen(const std::string& name);

}  // namespace window_test
