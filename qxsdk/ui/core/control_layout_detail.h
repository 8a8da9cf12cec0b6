#pragma once

#include <cstdint>

// The check box's spacing, which only checkbox_layout applies; the tests' reference layout uses it too.
namespace qxsdk::ui {

// Between picture and caption, when there is a caption.
inline constexpr std::int32_t checkbox_caption_gap = 5;

}  // namespace qxsdk::ui
