#pragma once

#include <cstdint>

#include "qxsdk/ui/core/style_value.h"
#include "qxsdk/ui/core/widget.h"

// The arithmetic of the controls' layouts and picture frames, apart from measuring and drawing, so that it
// runs anywhere. Sizes are toolkit units. Every function is defined for every 32-bit input: sums and
// differences are taken in 64 bits and a result beyond the 32-bit range is held at its nearest end, so real
// layouts, which never come near the limits, get the plain 32-bit sums.
namespace qxsdk::ui {

struct size_units {
    std::int32_t width = 0;
    std::int32_t height = 0;

    friend bool operator==(const size_units&, const size_units&) = default;
};

// Label ---------------------------------------------------------------------------------------------------

// The box a label's text is measured in: 0 (unbounded) in the directions that follow the text.
size_units label_measuring_box(const rect& current, bool auto_width, bool auto_height) noexcept;

// The label's rectangle once its measured text has set the directions that follow it.
rect label_geometry(const rect& current, bool auto_width, bool auto_height, size_units measured) noexcept;

// Picture strips ------------------------------------------------------------------------------------------

// A strip names a picture when it has bytes and at least one frame; anything else is no picture.
bool names_picture(const image_reference& strip) noexcept;

// The height of one of the strip's equal frames; 0 for a strip that is no picture.
std::int32_t strip_frame_height(std::uint32_t picture_height, std::int32_t frames) noexcept;

// Check box -----------------------------------------------------------------------------------------------

struct checkbox_boxes {
    rect image;
    rect text;

    friend bool operator==(const checkbox_boxes&, const checkbox_boxes&) = default;
};

// Places picture and caption in a check box of the given size. Modes 0 to 3 put the picture first (0 left,
// 1 both right, 2 both centred, 3 at opposite edges), 4 to 7 the caption first in the same four ways; any
// other mode keeps the previous x positions and updates only sizes and y.
checkbox_boxes checkbox_layout(std::int32_t mode, size_units own, size_units frame, size_units caption,
                               const checkbox_boxes& previous) noexcept;

// Where in the strip the frame to draw starts: frame 1 when checked and enabled, frames 2 and 3 in place of
// 0 and 1 while hovered for strips of four frames or more. A one-frame strip always shows its frame.
std::int32_t checkbox_frame_top(std::int32_t frames, std::int32_t frame_height, bool hovered,
                                bool checked_and_enabled) noexcept;

// Button --------------------------------------------------------------------------------------------------

// One frame of the button's picture, centred in the button (halves truncated toward zero).
rect button_picture_box(size_units button, size_units picture, std::int32_t frame_height) noexcept;

// Frame 1 while hovered or toggled, when the strip has it.
std::int32_t button_frame_top(std::int32_t frames, std::int32_t frame_height, bool hovered_or_toggled) noexcept;

// Message pop-up ------------------------------------------------------------------------------------------

namespace popup_type {
inline constexpr std::int32_t ok = 0;
inline constexpr std::int32_t ok_cancel = 1;
inline constexpr std::int32_t yes_no = 2;
}  // namespace popup_type

bool is_popup_type(std::int32_t type) noexcept;

struct popup_metrics {
    std::int32_t button_width = 100;
    std::int32_t button_height = 30;
    std::int32_t checkbox_height = 0;
    std::int32_t margin = 20;
    std::int32_t spacing = 10;
};

struct popup_geometry {
    size_units client;
    rect message;
    rect checkbox;
    rect first_button;
    rect second_button;  // empty for a one-button pop-up

    friend bool operator==(const popup_geometry&, const popup_geometry&) = default;
};

// The pop-up's client size and the places of its parts around a message of the measured size: at least
// wide enough for three buttons, the buttons in the bottom right corner.
popup_geometry popup_layout(const popup_metrics& metrics, std::int32_t type, size_units message) noexcept;

}  // namespace qxsdk::ui
