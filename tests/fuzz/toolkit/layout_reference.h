#pragma once
// The layout arithmetic as the controls had it in plain 32-bit sums, before those were taken in 64 bits. Defined
// only where no sum leaves the 32-bit range, which holds for real layouts (every input within 2^24 either way);
// there the toolkit's results must equal these to the bit.

#include <algorithm>
#include <cstdint>
#include <optional>

#include "qxsdk/ui/core/control_layout.h"
#include "qxsdk/ui/core/control_layout_detail.h"
#include "qxsdk/ui/core/scroll_geometry.h"

namespace kyrox::fuzz::reference {

using namespace qxsdk::ui;

inline checkbox_boxes checkbox_layout(std::int32_t mode, size_units own, size_units frame, size_units caption,
                                      const checkbox_boxes& previous)
{
    const std::int32_t w = own.width, iw = frame.width, tw = caption.width;
    const std::int32_t gap = tw > 0 ? checkbox_caption_gap : 0;
    const std::int32_t room = w - iw - gap - tw;
    const std::int32_t image_x[] = {0, room, room / 2, 0, gap + tw, w - iw, room / 2 + gap + tw, w - iw};
    const std::int32_t text_x[] = {iw + gap, w - tw, room / 2 + iw + gap, w - tw, 0, room, room / 2, 0};
    const bool known = mode >= 0 && mode < 8;
    return {{known ? image_x[mode] : previous.image.x, (own.height - frame.height) / 2, iw, frame.height},
            {known ? text_x[mode] : previous.text.x, (own.height - caption.height) / 2, tw, caption.height}};
}

inline std::int32_t checkbox_frame_top(std::int32_t frames, std::int32_t height, bool hovered, bool checked)
{
    return frames < 2 ? 0 : (frames >= 4 && hovered ? 2 * height : 0) + (checked ? height : 0);
}

inline rect button_picture_box(size_units button, size_units picture, std::int32_t frame_height)
{
    return {(button.width - picture.width) / 2, (button.height - frame_height) / 2, picture.width, frame_height};
}

inline popup_geometry popup_layout(const popup_metrics& p, std::int32_t type, size_units message)
{
    const std::int32_t width = std::max(3 * p.button_width + 2 * (p.margin + p.spacing), message.width + 2 * p.margin);
    const std::int32_t height = message.height + 2 * (p.margin + p.spacing) + p.checkbox_height + p.button_height;
    const std::int32_t y = height - p.button_height - p.margin;
    const rect last{width - p.button_width - p.margin, y, p.button_width, p.button_height};
    const bool two = type != popup_type::ok;
    return {{width, height},
            {p.margin, p.margin, width - 2 * p.margin, message.height},
            {p.margin, p.margin + p.spacing + message.height, width, p.checkbox_height},
            two ? rect{width - 2 * p.button_width - p.margin - p.spacing, y, p.button_width, p.button_height} : last,
            two ? last : rect{}};
}

inline scroll_bar_boxes lay_out_scroll_bar(int orientation, bool arrows, std::int32_t w, std::int32_t h)
{
    if (orientation == scroll_orientation::vertical) {
        const std::int32_t a = arrows ? w : 0;
        return {arrows ? rect{0, 0, w, w} : rect{}, arrows ? rect{0, h - w, w, w} : rect{}, {0, a, w, h - 2 * a}};
    }
    if (orientation == scroll_orientation::horizontal) {
        const std::int32_t a = arrows ? h : 0;
        return {arrows ? rect{0, 0, h, h} : rect{}, arrows ? rect{w - h, 0, h, h} : rect{}, {a, 0, w - 2 * a, h}};
    }
    return {};
}

// The old travel for a ratio that is not NaN (a NaN reached the float-to-int conversion).
inline std::int32_t travel(std::int32_t offset, float ratio)
{
    return static_cast<std::int32_t>(std::clamp(static_cast<float>(offset) * ratio, -1.0e9f, 1.0e9f));
}

inline thumb_metrics measure_thumb(const scroll_axis& axis, std::int32_t content, std::int32_t parent,
                                   std::int32_t position)
{
    thumb_metrics thumb;
    const std::int32_t track = axis.bar_length - 2 * axis.arrow;
    thumb.overflow = std::max(0, content - parent);
    thumb.offset = -position;
    thumb.length = std::max(axis.thickness, track - thumb.overflow);
    if (thumb.overflow != 0) {
        thumb.ratio = static_cast<float>(track - thumb.length) / static_cast<float>(thumb.overflow);
    }
    thumb.start = axis.arrow + (thumb.ratio > 0.0f ? travel(thumb.offset, thumb.ratio) : 0);
    return thumb;
}

inline std::optional<std::int32_t> drag(std::int32_t distance, float ratio)
{
    if (!(ratio > 0.0f)) {
        return std::nullopt;
    }
    return static_cast<std::int32_t>(std::clamp(static_cast<float>(distance) / ratio, -1.0e9f, 1.0e9f));
}

inline std::optional<std::int32_t> track_press_offset(std::int32_t press, const thumb_metrics& thumb,
                                                      const scroll_bar_boxes& boxes, int orientation, bool arrows)
{
    if (press < thumb.start && (!arrows || press > start_along(orientation, boxes.first_arrow) +
                                                       length_along(orientation, boxes.first_arrow))) {
        return drag(press, thumb.ratio);
    }
    if (press > thumb.start + thumb.length && (!arrows || press < start_along(orientation, boxes.second_arrow))) {
        return drag(press - thumb.length, thumb.ratio);
    }
    return std::nullopt;
}

inline std::int32_t content_position_after_parent_resize(std::int32_t position, std::int32_t content,
                                                         std::int32_t parent)
{
    return position < 0 && position + content < parent ? std::min(0, parent - content) : position;
}

}  // namespace kyrox::fuzz::reference
