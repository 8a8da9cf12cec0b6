#pragma once

#include <cstdint>
#include <span>

// The toolkit's own PNG pictures, embedded in the program at build time from qxsdk/ui/pictures/ (drawn by
// tools/make_toolkit_pictures.py).
namespace qxsdk::ui::pictures {

extern const std::span<const std::uint8_t> checkbox_strip;      // 14 x 28: unchecked above, checked below
extern const std::span<const std::uint8_t> dropdown_button;     // 8 x 5
extern const std::span<const std::uint8_t> browser_folder;      // 20 x 20
extern const std::span<const std::uint8_t> browser_item;        // 20 x 20: packs, starred and alien entries
extern const std::span<const std::uint8_t> browser_virtual;     // 20 x 20
extern const std::span<const std::uint8_t> multiwindow_button;  // 5 x 10
extern const std::span<const std::uint8_t> scroll_arrow;        // 8 x 8: up, down, left and right halves

}  // namespace qxsdk::ui::pictures
