#pragma once
// Where the wizard's widgets sit, worked out from the root widget's size (W x H) and the banner's
// width E: the pages fill the space right of the banner above the band of the wizard buttons.
// Rectangles are relative to the widget's parent, in toolkit units.

#include "qxsdk/ui/core/widget.h"

#include <cstdint>

namespace installer {

using qxsdk::ui::rect;

inline constexpr std::int32_t wizard_width = 500;
inline constexpr std::int32_t wizard_height = 360;
// The window's screen position as the wizard opens.
inline constexpr std::int32_t wizard_x = 600;
inline constexpr std::int32_t wizard_y = 200;

struct wizard_layout {
    std::int32_t page_width = 0;   // P = W - E - 20
    std::int32_t page_height = 0;  // Q = H - 110

    rect title;
    rect page;  // each of the four pages
    rect intro;
    rect versions;
    rect summary_heading;
    rect summary_panel;
    rect summary_scroll_bar;
    rect summary_label;
    rect install_heading;
    rect progress;
    rect back;
    rect next;
    rect cancel;
    rect bottom_band;

    // The check box of the row-th offered slot (0 first).
    rect version_box(std::int32_t row) const;
    // Browse and the custom path beside it, below the given number of check boxes.
    rect browse(std::int32_t boxes) const;
    rect custom_path(std::int32_t boxes) const;
};

wizard_layout make_wizard_layout(std::int32_t width, std::int32_t height, std::int32_t banner_width);

}  // namespace installer
