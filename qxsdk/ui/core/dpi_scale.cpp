#include "qxsdk/ui/core/dpi_scale.h"

#include <cstdlib>

namespace qxsdk::ui {

namespace {

std::int64_t floor_div(std::int64_t a, std::int64_t b) noexcept
{
    const std::int64_t q = a / b;
    return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}

std::int64_t ceil_div(std::int64_t a, std::int64_t b) noexcept
{
    return -floor_div(-a, b);
}

std::int32_t scale_down(std::int32_t value, std::int32_t multiplier, std::int32_t divisor) noexcept
{
    return divisor == 0 ? 0 : static_cast<std::int32_t>(floor_div(std::int64_t{value} * multiplier, divisor));
}

std::int32_t scale_up(std::int32_t value, std::int32_t multiplier, std::int32_t divisor) noexcept
{
    return divisor == 0 ? 0 : static_cast<std::int32_t>(ceil_div(std::int64_t{value} * multiplier, divisor));
}

}  // namespace

std::int32_t mul_div(std::int32_t a, std::int32_t b, std::int32_t c) noexcept
{
    if (c == 0) {
        return 0;
    }
    const std::int64_t product = std::int64_t{a} * b;
    const std::int64_t magnitude = (std::llabs(product) + std::llabs(c) / 2) / std::llabs(c);
    return static_cast<std::int32_t>((product < 0) != (c < 0) ? -magnitude : magnitude);
}

edges dpi_scale::area_to_pixels(const edges& units) const noexcept
{
    return {scale_down(units.left, x, units_per_inch), scale_down(units.top, y, units_per_inch),
            scale_up(units.right, x, units_per_inch), scale_up(units.bottom, y, units_per_inch)};
}

edges dpi_scale::area_to_units(const edges& pixels) const noexcept
{
    return {scale_down(pixels.left, units_per_inch, x), scale_down(pixels.top, units_per_inch, y),
            scale_up(pixels.right, units_per_inch, x), scale_up(pixels.bottom, units_per_inch, y)};
}

}  // namespace qxsdk::ui
