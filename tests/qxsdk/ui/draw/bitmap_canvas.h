#pragma once

#include <windows.h>

#include <wincodec.h>
#include <wrl/client.h>

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <string_view>
#include <vector>

#include "qxsdk/ui/core/widget.h"
#include "qxsdk/ui/draw/image.h"
#include "qxsdk/ui/draw/renderer.h"

// A renderer over a WIC bitmap whose pixels the tests read back. Set QXSDK_TEST_SNAPSHOTS to a folder to
// keep a PNG of each drawing.
namespace qxsdk::ui::testing {

struct bgra {
    std::uint8_t blue = 0;
    std::uint8_t green = 0;
    std::uint8_t red = 0;
    std::uint8_t alpha = 0;

    friend bool operator==(const bgra&, const bgra&) = default;
};

inline constexpr bgra opaque_black{0, 0, 0, 255};
inline constexpr bgra opaque_white{255, 255, 255, 255};
inline constexpr bgra opaque_red{0, 0, 255, 255};
inline constexpr bgra untouched{0, 0, 0, 0};

// The imaging factory of the test thread (which joins the multithreaded apartment once).
IWICImagingFactory& imaging();

// A PNG of a width x height picture whose pixels (premultiplied BGRA, rows top to bottom) are given.
std::vector<std::uint8_t> encode_png(std::uint32_t width, std::uint32_t height, const std::vector<bgra>& pixels);

// A widget with a rectangle only, for paint brackets.
struct placed_widget {
    explicit placed_widget(const rect& area) { set_geometry(w, area); }
    widget w;
};

struct expected_pixel {
    std::uint32_t x;
    std::uint32_t y;
    bgra value;
};

class bitmap_canvas {
public:
    bitmap_canvas(std::uint32_t width, std::uint32_t height);

    renderer& painter() noexcept { return *renderer_; }
    IWICBitmap& bitmap() noexcept { return *bitmap_.Get(); }
    std::unique_ptr<renderer> take_renderer() noexcept { return std::move(renderer_); }

    // Opens a paint of the whole canvas through a root widget, runs the drawing, and closes the paint.
    template <typename Draw>
    void paint(Draw&& draw)
    {
        const placed_widget root({0, 0, static_cast<std::int32_t>(width_), static_cast<std::int32_t>(height_)});
        const paint_scope scope(*renderer_, root.w, whole());
        draw(*renderer_);
    }

    RECT whole() const noexcept { return {0, 0, static_cast<LONG>(width_), static_cast<LONG>(height_)}; }

    bgra pixel(std::uint32_t x, std::uint32_t y) const;
    std::vector<bgra> row(std::uint32_t y) const;
    // A gtest failure for each pixel that differs.
    void expect_pixels(std::initializer_list<expected_pixel> expected) const;

    // Writes <folder>/<name>.png when QXSDK_TEST_SNAPSHOTS names a folder; the name defaults to the test's.
    void save_snapshot(std::string_view suffix = {}) const;

private:
    std::uint32_t width_;
    std::uint32_t height_;
    Microsoft::WRL::ComPtr<IWICBitmap> bitmap_;
    std::unique_ptr<renderer> renderer_;
};

}  // namespace qxsdk::ui::testing
