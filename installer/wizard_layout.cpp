#include "installer/wizard_layout.h"

namespace installer {

namespace {

constexpr std::int32_t first_row_y = 55;
constexpr std::int32_t row_height = 25;
constexpr std::int32_t button_band = 50;

}  // namespace

wizard_layout make_wizard_layout(std::int32_t width, std::int32_t height, std::int32_t banner_width)
{
    wizard_layout layout;
    const std::int32_t p = width - banner_width - 20;
    const std::int32_t q = height - 110;
    layout.page_width = p;
    layout.page_height = q;
    layout.title = {banner_width + 10, 0, p, 50};
    layout.page = {banner_width + 10, 50, p, q};
    layout.intro = {10, 20, p, 200};
    layout.versions = {0, 0, p, 50};
    layout.summary_heading = {0, 15, p, 40};
    layout.summary_panel = {0, 60, p, q - 60};
    layout.summary_scroll_bar = {p - 15, 0, 15, q - 60};
    layout.summary_label = {10, 10, p - 35, 800};
    layout.install_heading = {0, 0, p, 25};
    layout.progress = {0, 50, width - banner_width - 40, q - 50};
    layout.back = {width - 300, height - 40, 85, 30};
    layout.next = {width - 210, height - 40, 85, 30};
    layout.cancel = {width - 95, height - 40, 85, 30};
    layout.bottom_band = {0, height - button_band, width, button_band};
    return layout;
}

rect wizard_layout::version_box(std::int32_t row) const
{
    return {20, first_row_y + row_height * row, page_width - 30, row_height};
}

rect wizard_layout::browse(std::int32_t boxes) const
{
    return {20, 60 + row_height * boxes, 80, 15};
}

rect wizard_layout::custom_path(std::int32_t boxes) const
{
    return {110, browse(boxes).y, page_width - 110, 50};
}

}  // namespace installer
