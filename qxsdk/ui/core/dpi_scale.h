#pragma once

#include <cstdint>

#include "qxsdk/ui/core/edges.h"

// Conversions between toolkit units (1/96 inch) and a display's pixels.
namespace qxsdk::ui {

inline constexpr std::int32_t units_per_inch = 96;

// a × b / c rounded to the nearest integer, halves away from zero, as the platform's MulDiv does; 0 when c
// is 0 (MulDiv reports that as -1, which no caller here wants as a size).
std::int32_t mul_div(std::int32_t a, std::int32_t b, std::int32_t c) noexcept;

// A display's logical pixels per inch. Sizes use mul_div; areas round outward, so that a converted area
// always covers every pixel (or unit) the original touches.
struct dpi_scale {
    std::int32_t x = units_per_inch;
    std::int32_t y = units_per_inch;

    std::int32_t width_to_pixels(std::int32_t units) const noexcept { return mul_div(units, x, units_per_inch); }
    std::int32_t height_to_pixels(std::int32_t units) const noexcept { return mul_div(units, y, units_per_inch); }
    std::int32_t width_to_units(std::int32_t pixels) const noexcept { return mul_div(pixels, units_per_inch, x); }
    std::int32_t height_to_units(std::int32_t pixels) const noexcept { return mul_div(pixels, units_per_inch, y); }

    edges area_to_pixels(const edges& units) const noexcept;
    edges area_to_units(const edges& pixels) const noexcept;
};

}  // namespace qxsdk::ui
