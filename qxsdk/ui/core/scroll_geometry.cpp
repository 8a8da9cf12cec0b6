#include "qxsdk/ui/core/scroll_geometry.h"

#include <algorithm>
#include <cmath>

#include "qxsdk/ui/core/control_layout.h"

namespace qxsdk::ui {

namespace {

// Offsets far beyond any content: a quotient by a tiny ratio is held here before it becomes an integer.
constexpr float offset_limit = 1.0e9f;

// A NaN (a NaN ratio, or an infinite one times offset 0) is no distance at all: it must not reach the conversion.
std::int32_t truncate(float value) noexcept
{
    return std::isnan(value) ? 0 : static_cast<std::int32_t>(std::clamp(value, -offset_limit, offset_limit));
}

// trunc(travel / ratio); none when the thumb cannot travel (a ratio of 0 or below, or NaN).
std::optional<std::int32_t> offset_for_travel(float travel, float ratio) noexcept
{
    if (!(ratio > 0.0f)) {
        return std::nullopt;
    }
    return truncate(travel / ratio);
}

}  // namespace

scroll_bar_boxes lay_out_scroll_bar(int orientation, bool arrows, std::int32_t width, std::int32_t height)
{
    scroll_bar_boxes boxes;
    if (orientation == scroll_orientation::vertical) {
        if (arrows) {
            boxes.first_arrow = {0, 0, width, width};
            boxes.second_arrow = {0, saturate_units(std::int64_t{height} - width), width, width};
        }
        const std::int32_t a = boxes.first_arrow.height;
        boxes.thumb = {0, a, width, saturate_units(height - 2 * std::int64_t{a})};
    } else if (orientation == scroll_orientation::horizontal) {
        if (arrows) {
            boxes.first_arrow = {0, 0, height, height};
            boxes.second_arrow = {saturate_units(std::int64_t{width} - height), 0, height, height};
        }
        const std::int32_t a = boxes.first_arrow.width;
        boxes.thumb = {a, 0, saturate_units(width - 2 * std::int64_t{a}), height};
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
    const std::int64_t track = axis.bar_length - 2 * std::int64_t{axis.arrow};
    const std::int64_t overflow = std::max<std::int64_t>(0, std::int64_t{content_length} - parent_length);
    const std::int64_t length = std::max<std::int64_t>(axis.thickness, track - overflow);
    thumb_metrics thumb;
    thumb.overflow = saturate_units(overflow);
    thumb.offset = saturate_units(-std::int64_t{content_position});
    thumb.length = saturate_units(length);
    if (overflow != 0) {
        thumb.ratio = static_cast<float>(track - length) / static_cast<float>(overflow);
    }
    // A bar too short for its thumb has no travel: the thumb rests at the track's start.
    thumb.start =
        saturate_units(axis.arrow + std::int64_t{thumb.ratio > 0.0f ? thumb_travel(thumb.offset, thumb.ratio) : 0});
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
    return offset_for_travel(static_cast<float>(travel), ratio);
}

std::optional<std::int32_t> track_press_offset(std::int32_t press, const thumb_metrics& thumb,
                                               const scroll_bar_boxes& boxes, int orientation, bool arrows) noexcept
{
    const std::int64_t first_arrow_end =
        std::int64_t{start_along(orientation, boxes.first_arrow)} + length_along(orientation, boxes.first_arrow);
    if (press < thumb.start && (!arrows || press > first_arrow_end)) {
        return drag_offset(press, thumb.ratio);
    }
    if (press > std::int64_t{thumb.start} + thumb.length &&
        (!arrows || press < start_along(orientation, boxes.second_arrow))) {
        return offset_for_travel(static_cast<float>(std::int64_t{press} - thumb.length), thumb.ratio);
    }
    return std::nullopt;
}

std::int32_t content_position_after_parent_resize(std::int32_t position, std::int32_t content_length,
                                                  std::int32_t parent_length) noexcept
{
    if (position < 0 && std::int64_t{position} + content_length < parent_length) {
        return saturate_units(std::min<std::int64_t>(0, std::int64_t{parent_length} - content_length));
    }
    return position;
}

}  // namespace qxsdk::ui
