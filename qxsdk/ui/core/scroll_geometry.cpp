#include "qxsdk/ui/core/scroll_geometry.h"

#include <algorithm>
#include <cmath>

namespace qxsdk::ui {

namespace {

// Offsets far beyond any content: a quotient by a tiny ratio is held here before it becomes an integer.
constexpr float offset_limit = 1.0e9f;

std::int32_t truncate(float value) noexcept
{
    return static_cast<std::int32_t>(std::clamp(value, -offset_limit, offset_limit));
}

}  // namespace

scroll_bar_boxes lay_out_scroll_bar(int orientation, bool arrows, std::int32_t width, std::int32_t height)
{
    scroll_bar_boxes boxes;
    if (orientation == scroll_orientation::vertical) {
        if (arrows) {
            boxes.first_arrow = {0, 0, width, width};
            boxes.second_arrow = {0, height - width, width, width};
        }
        const std::int32_t a = boxes.first_arrow.height;
        boxes.thumb = {0, a, width, height - 2 * a};
    } else if (orientation == scroll_orientation::horizontal) {
        if (arrows) {
            boxes.first_arrow = {0, 0, height, height};
            boxes.second_arrow = {width - height, 0, height, height};
        }
        const std::int32_t a = boxes.first_arrow.width;
        boxes.thumb = {a, 0, width - 2 * a, height};
    }
    return boxes;
}

std::int32_t thumb_travel(std::int32_t offset, float ratio) noexcept
{
    return truncate(static_cast<float>(offset) * ratio);
}

thumb_metrics measure_thumb(const scroll_axis& axis, std::int32_t content_length, std::int32_t parent_length,
                            std::int32_t content_position)
{
    thumb_metrics thumb;
    const std::int32_t track = axis.bar_length - 2 * axis.arrow;
    thumb.overflow = std::max(0, content_length - parent_length);
    thumb.offset = -content_position;
    thumb.length = std::max(axis.thickness, track - thumb.overflow);
    if (thumb.overflow != 0) {
        thumb.ratio = static_cast<float>(track - thumb.length) / static_cast<float>(thumb.overflow);
    }
    // A bar too short for its thumb has no travel: the thumb rests at the track's start.
    thumb.start = axis.arrow + (thumb.ratio > 0.0f ? thumb_travel(thumb.offset, thumb.ratio) : 0);
    return thumb;
}

std::int32_t snap_offset(std::int32_t offset, std::int32_t step) noexcept
{
    return step > 0 ? offset - offset % step : offset;
}

std::int32_t content_position_for(std::int32_t offset, std::int32_t overflow) noexcept
{
    // Negated in 64 bits: the offset may be the most negative integer.
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(-std::int64_t{offset}, -std::int64_t{overflow}, 0));
}

std::int32_t content_position_moved_by(std::int32_t position, std::int32_t delta, std::int32_t overflow) noexcept
{
    return static_cast<std::int32_t>(
        std::clamp<std::int64_t>(std::int64_t{position} + delta, -std::int64_t{overflow}, 0));
}

std::optional<std::int32_t> drag_offset(std::int32_t travel, float ratio) noexcept
{
    if (!(ratio > 0.0f)) {
        return std::nullopt;
    }
    return truncate(static_cast<float>(travel) / ratio);
}

std::optional<std::int32_t> track_press_offset(std::int32_t press, const thumb_metrics& thumb,
                                               const scroll_bar_boxes& boxes, int orientation, bool arrows) noexcept
{
    const std::int32_t first_arrow_end =
        start_along(orientation, boxes.first_arrow) + length_along(orientation, boxes.first_arrow);
    if (press < thumb.start && (!arrows || press > first_arrow_end)) {
        return drag_offset(press, thumb.ratio);
    }
    if (press > thumb.start + thumb.length && (!arrows || press < start_along(orientation, boxes.second_arrow))) {
        return drag_offset(press - thumb.length, thumb.ratio);
    }
    return std::nullopt;
}

std::int32_t content_position_after_parent_resize(std::int32_t position, std::int32_t content_length,
                                                  std::int32_t parent_length) noexcept
{
    if (position < 0 && position + content_length < parent_length) {
        return std::min(0, parent_length - content_length);
    }
    return position;
}

}  // namespace qxsdk::ui
