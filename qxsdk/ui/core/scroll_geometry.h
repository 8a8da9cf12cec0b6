#pragma once

#include <cstdint>
#include <optional>

#include "qxsdk/ui/core/widget.h"

// The arithmetic of a scroll bar, along one axis: where the arrows and the thumb sit, how far the content
// overflows its parent, and which scroll offset a drag, a track press or a wheel notch asks for. The offset
// is minus the content's position on the axis; it stays within [0, overflow]. Every function is defined for
// every 32-bit input and float: sums are taken in 64 bits and held to the 32-bit range (see saturate_units).
namespace qxsdk::ui {

namespace scroll_orientation {
inline constexpr int vertical = 0;
inline constexpr int horizontal = 1;
}  // namespace scroll_orientation

struct scroll_bar_boxes {
    rect first_arrow;   // top or left
    rect second_arrow;  // bottom or right
    rect thumb;         // the whole track, until the content is measured

    friend bool operator==(const scroll_bar_boxes&, const scroll_bar_boxes&) = default;
};

// The arrows (squares as thick as the bar, when on) and the track between them, for a bar of the size.
// An orientation other than vertical or horizontal leaves every box empty.
scroll_bar_boxes lay_out_scroll_bar(int orientation, bool arrows, std::int32_t width, std::int32_t height);

// One bar's thumb on its axis.
struct thumb_metrics {
    std::int32_t overflow = 0;  // how much the content exceeds its parent, 0 or more
    std::int32_t offset = 0;    // minus the content's position
    std::int32_t start = 0;     // where the thumb begins, in the bar's coordinates
    std::int32_t length = 0;    // never shorter than the bar is thick
    float ratio = 0.0f;         // thumb travel per unit of offset; 0 or below when the thumb cannot travel

    friend bool operator==(const thumb_metrics&, const thumb_metrics&) = default;
};

struct scroll_axis {
    std::int32_t bar_length = 0;  // the bar along the axis
    std::int32_t arrow = 0;       // the first arrow along the axis (0 without arrows)
    std::int32_t thickness = 0;   // the bar across the axis
};

thumb_metrics measure_thumb(const scroll_axis& axis, std::int32_t content_length, std::int32_t parent_length,
                            std::int32_t content_position);

// trunc(offset × ratio): how far the thumb has travelled from the track's start; 0 when the product is NaN.
std::int32_t thumb_travel(std::int32_t offset, float ratio) noexcept;

// The content is scrolled past its end (it shrank, or its parent grew, while scrolled): it must move back.
inline bool scrolled_past_end(const thumb_metrics& thumb) noexcept
{
    return thumb.offset > thumb.overflow;
}

// The offset snapped down (toward zero) to a multiple of the step; unchanged for a step of 0 or below.
std::int32_t snap_offset(std::int32_t offset, std::int32_t step) noexcept;

// The content's position for an offset, within [-overflow, 0].
std::int32_t content_position_for(std::int32_t offset, std::int32_t overflow) noexcept;

// The content's position after moving it by delta (positive toward its beginning), within [-overflow, 0].
std::int32_t content_position_moved_by(std::int32_t position, std::int32_t delta, std::int32_t overflow) noexcept;

// The offset a drag asks for: trunc(travel / ratio), before snapping. None when the thumb cannot travel.
std::optional<std::int32_t> drag_offset(std::int32_t travel, float ratio) noexcept;

// The offset a press on the track asks for (press along the axis, in the bar's coordinates): before the
// thumb trunc(press / ratio), after it trunc((press - length) / ratio). None on the thumb, on an arrow, or
// when the thumb cannot travel.
std::optional<std::int32_t> track_press_offset(std::int32_t press, const thumb_metrics& thumb,
                                               const scroll_bar_boxes& boxes, int orientation, bool arrows) noexcept;

// Where the content goes when its parent is resized: a scrolled content whose end no longer reaches the
// parent's end moves back to meet it, never past position 0.
std::int32_t content_position_after_parent_resize(std::int32_t position, std::int32_t content_length,
                                                  std::int32_t parent_length) noexcept;

// The coordinate along the axis and the length along it.
inline std::int32_t along(int orientation, point p) noexcept
{
    return orientation == scroll_orientation::horizontal ? p.x : p.y;
}

inline std::int32_t start_along(int orientation, const rect& r) noexcept
{
    return orientation == scroll_orientation::horizontal ? r.x : r.y;
}

inline std::int32_t length_along(int orientation, const rect& r) noexcept
{
    return orientation == scroll_orientation::horizontal ? r.width : r.height;
}

// The rectangle with its start along the axis replaced.
inline rect with_start_along(int orientation, rect r, std::int32_t start) noexcept
{
    (orientation == scroll_orientation::horizontal ? r.x : r.y) = start;
    return r;
}

}  // namespace qxsdk::ui
