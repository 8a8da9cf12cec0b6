#include "qxsdk/ui/core/control_layout.h"

#include <algorithm>

#include "qxsdk/ui/core/control_layout_detail.h"

namespace qxsdk::ui {

size_units label_measuring_box(const rect& current, bool auto_width, bool auto_height) noexcept
{
    return {auto_width ? 0 : current.width, auto_height ? 0 : current.height};
}

rect label_geometry(const rect& current, bool auto_width, bool auto_height, size_units measured) noexcept
{
    return {current.x, current.y, auto_width ? measured.width : current.width,
            auto_height ? measured.height : current.height};
}

bool names_picture(const image_reference& strip) noexcept
{
    return strip.size != 0 && strip.frames >= 1;
}

std::int32_t strip_frame_height(std::uint32_t picture_height, std::int32_t frames) noexcept
{
    if (frames < 1) {
        return 0;
    }
    return static_cast<std::int32_t>(picture_height / static_cast<std::uint32_t>(frames));
}

checkbox_boxes checkbox_layout(std::int32_t mode, size_units own, size_units frame, size_units caption,
                               const checkbox_boxes& previous) noexcept
{
    const std::int64_t w = own.width;
    const std::int64_t iw = frame.width;
    const std::int64_t tw = caption.width;
    const std::int64_t gap = tw > 0 ? checkbox_caption_gap : 0;
    const std::int64_t room = w - iw - gap - tw;

    std::int64_t image_x = previous.image.x;
    std::int64_t text_x = previous.text.x;
    switch (mode) {
    case 0:
        image_x = 0;
        text_x = iw + gap;
        break;
    case 1:
        image_x = room;
        text_x = w - tw;
        break;
    case 2:
        image_x = room / 2;
        text_x = room / 2 + iw + gap;
        break;
    case 3:
        image_x = 0;
        text_x = w - tw;
        break;
    case 4:
        image_x = gap + tw;
        text_x = 0;
        break;
    case 5:
        image_x = w - iw;
        text_x = room;
        break;
    case 6:
        image_x = room / 2 + gap + tw;
        text_x = room / 2;
        break;
    case 7:
        image_x = w - iw;
        text_x = 0;
        break;
    default:
        break;
    }
    return {{saturate_units(image_x), saturate_units((std::int64_t{own.height} - frame.height) / 2), frame.width,
             frame.height},
            {saturate_units(text_x), saturate_units((std::int64_t{own.height} - caption.height) / 2), caption.width,
             caption.height}};
}

std::int32_t checkbox_frame_top(std::int32_t frames, std::int32_t frame_height, bool hovered,
                                bool checked_and_enabled) noexcept
{
    if (frames < 2) {
        return 0;
    }
    const std::int64_t hover_pair = frames >= 4 && hovered ? 2 * std::int64_t{frame_height} : 0;
    return saturate_units(hover_pair + (checked_and_enabled ? frame_height : 0));
}

rect button_picture_box(size_units button, size_units picture, std::int32_t frame_height) noexcept
{
    return {saturate_units((std::int64_t{button.width} - picture.width) / 2),
            saturate_units((std::int64_t{button.height} - frame_height) / 2), picture.width, frame_height};
}

std::int32_t button_frame_top(std::int32_t frames, std::int32_t frame_height, bool hovered_or_toggled) noexcept
{
    return hovered_or_toggled && frames >= 2 ? frame_height : 0;
}

bool is_popup_type(std::int32_t type) noexcept
{
    return type == popup_type::ok || type == popup_type::ok_cancel || type == popup_type::yes_no;
}

popup_geometry popup_layout(const popup_metrics& metrics, std::int32_t type, size_units message) noexcept
{
    const std::int64_t bw = metrics.button_width;
    const std::int64_t bh = metrics.button_height;
    const std::int64_t m = metrics.margin;
    const std::int64_t s = metrics.spacing;
    const std::int64_t text_height = message.height;
    const std::int64_t width = std::max(3 * bw + 2 * (m + s), message.width + 2 * m);
    const std::int64_t height = text_height + 2 * (m + s) + metrics.checkbox_height + bh;
    const std::int32_t buttons_y = saturate_units(height - bh - m);
    const std::int32_t last_button_x = saturate_units(width - bw - m);

    popup_geometry layout{
        {saturate_units(width), saturate_units(height)},
        {metrics.margin, metrics.margin, saturate_units(width - 2 * m), message.height},
        {metrics.margin, saturate_units(m + s + text_height), saturate_units(width), metrics.checkbox_height},
        {last_button_x, buttons_y, metrics.button_width, metrics.button_height},
        {}};
    if (type != popup_type::ok) {
        layout.first_button.x = saturate_units(width - 2 * bw - m - s);
        layout.second_button = {last_button_x, buttons_y, metrics.button_width, metrics.button_height};
    }
    return layout;
}

}  // namespace qxsdk::ui
