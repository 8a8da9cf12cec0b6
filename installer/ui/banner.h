#pragma once

#include <cstdint>
#include <span>

// The wizard's banner picture, embedded in the program at build time from installer/resources/.
namespace installer::ui::pictures {

extern const std::span<const std::uint8_t> banner;  // PNG, 160 x 310

}  // namespace installer::ui::pictures
