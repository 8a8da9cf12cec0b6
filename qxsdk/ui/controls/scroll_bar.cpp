#include "qxsdk/ui/controls/scroll_bar.h"

#include "qxsdk/ui/core/event_codes.h"
#include "qxsdk/ui/core/pictures.h"
#include "qxsdk/ui/core/window_base.h"
#include "qxsdk/ui/draw/image.h"
#include "qxsdk/ui/draw/renderer.h"
#include "qxsdk/ui/window/widget_painting.h"
#include "qxsdk/ui/window/window.h"

namespace qxsdk::ui {

namespace {

window* window_of(const widget& w) noexcept
{
    return dynamic_cast<window*>(w.window());
}

bool inert(int orientation) noexcept
{
    return orientation != scroll_orientation::vertical && orientation != scroll_orientation::horizontal;
}

// Edges included, as the bar's hit tests want them.
bool contains(const rect& box, point p) noexcept
{
    return p.x >= box.x && p.x <= box.x + box.width && p.y >= box.y && p.y <= box.y + box.height;
}

}  // namespace

ScrollBar::ScrollBar() : arrow_image_(new_image())
{
    connect_event(*this, event_code::attached, bind_handler(*this, &ScrollBar::on_attached));
}

ScrollBar::~ScrollBar()
{
    if (captured_widget() == this) {
        end_drag();
    }
}

void ScrollBar::set_orientation(int orientation)
{
    orientation_ = orientation;
    if (created()) {
        layout();
    }
}

void ScrollBar::set_arrows(bool arrows)
{
    arrows_ = arrows;
    if (created()) {
        layout();
    }
}

void ScrollBar::on_attached()
{
    // Attaching again must not double every reaction.
    if (!handlers_bound_) {
        handlers_bound_ = true;
        connect_event(*this, event_code::paint, [this](const event_info&) {
            if (renderer* drawing = widget_renderer(*this); drawing != nullptr) {
                paint(*drawing);
            }
        });
        connect_event(*this, event_code::mouse_down, bind_handler(*this, &ScrollBar::on_mouse_down));
        connect_event(*this, event_code::mouse_up, bind_handler(*this, &ScrollBar::on_mouse_up));
        connect_event(*this, event_code::mouse_move, bind_handler(*this, &ScrollBar::on_mouse_move));
        connect_event(*this, event_code::mouse_wheel, bind_handler(*this, &ScrollBar::on_wheel));
        connect_event(*this, event_code::resized, bind_handler(*this, &ScrollBar::layout));
    }
    if (!arrow_image_->loaded()) {
        load_image_from_memory(*arrow_image_, pictures::scroll_arrow);
    }
    layout();
}

void ScrollBar::attach(widget* content)
{
    content_ = content;
    if (content_ != nullptr) {
        set_geometry(*content_, with_start_along(orientation_, content_->geometry(), 0));
        connect_event(*content_, event_code::resized, bind_handler(*this, &ScrollBar::recompute));
        connect_event(*content_, event_code::moved, bind_handler(*this, &ScrollBar::recompute));
        connect_event(*content_, event_code::mouse_wheel, bind_handler(*this, &ScrollBar::on_wheel));
        if (widget* parent = content_->parent(); parent != nullptr) {
            connect_event(*parent, event_code::resized, bind_handler(*this, &ScrollBar::on_parent_resized));
        }
    }
    recompute();
}

void ScrollBar::layout()
{
    boxes_ = lay_out_scroll_bar(orientation_, arrows_, geometry().width, geometry().height);
    recompute();
}

void ScrollBar::recompute()
{
    if (content_ == nullptr || content_->parent() == nullptr || inert(orientation_)) {
        boxes_.thumb = lay_out_scroll_bar(orientation_, arrows_, geometry().width, geometry().height).thumb;
        invalidate_widget(*this);
        return;
    }
    const bool horizontal = orientation_ == scroll_orientation::horizontal;
    const scroll_axis axis{length_along(orientation_, geometry()), length_along(orientation_, boxes_.first_arrow),
                           horizontal ? geometry().height : geometry().width};
    thumb_ = measure_thumb(axis, length_along(orientation_, content_->geometry()),
                           length_along(orientation_, content_->parent()->geometry()),
                           start_along(orientation_, content_->geometry()));
    boxes_.thumb = horizontal ? rect{thumb_.start, 0, thumb_.length, axis.thickness}
                              : rect{0, thumb_.start, axis.thickness, thumb_.length};
    if (scrolled_past_end(thumb_)) {
        // The content shrank while scrolled: its end goes back to the parent's end, which recomputes again.
        scroll_to(thumb_.overflow, true);
    }
    invalidate_widget(*this);
}

void ScrollBar::move_content(std::int32_t position)
{
    set_geometry(*content_, with_start_along(orientation_, content_->geometry(), position));
}

void ScrollBar::scroll_by(std::int32_t delta)
{
    if (content_ == nullptr || inert(orientation_)) {
        return;
    }
    move_content(content_position_moved_by(start_along(orientation_, content_->geometry()), delta, thumb_.overflow));
}

void ScrollBar::scroll_to(std::int32_t offset, bool exact)
{
    if (content_ == nullptr || inert(orientation_)) {
        return;
    }
    move_content(content_position_for(exact ? offset : snap_offset(offset, step_), thumb_.overflow));
}

std::int32_t ScrollBar::cursor_along() const
{
    const ui::window* win = window_of(*this);
    return win != nullptr ? along(orientation_, get_cursor_position(*win, *this)) : 0;
}

void ScrollBar::on_mouse_down(const event_info& event)
{
    ui::window* win = window_of(*this);
    if (event.value != mouse_button::left || win == nullptr || inert(orientation_)) {
        return;
    }
    const point p = get_cursor_position(*win, *this);
    if (contains(boxes_.thumb, p)) {
        dragging_ = true;
        win->capture_mouse(*this);
        drag_anchor_ = along(orientation_, p) - thumb_travel(thumb_.offset, thumb_.ratio);
        return;
    }
    // Presses on the arrows act on release.
    if (const auto offset = track_press_offset(along(orientation_, p), thumb_, boxes_, orientation_, arrows_)) {
        scroll_to(*offset, true);
    }
}

void ScrollBar::on_mouse_move()
{
    if (!dragging_) {
        return;
    }
    // The window lost the mouse (another window took it): the button may be up by now, so the drag is over.
    if (captured_widget() != this) {
        dragging_ = false;
        return;
    }
    if (const auto offset = drag_offset(cursor_along() - drag_anchor_, thumb_.ratio)) {
        scroll_to(*offset, false);
    }
}

void ScrollBar::end_drag()
{
    dragging_ = false;
    if (captured_widget() == this) {
        if (ui::window* win = window_of(*this); win != nullptr) {
            win->release_mouse_capture();
        } else {
            set_captured_widget(nullptr);
        }
    }
}

void ScrollBar::on_mouse_up(const event_info& event)
{
    if (event.value != mouse_button::left) {
        return;
    }
    if (dragging_) {
        end_drag();
        return;
    }
    const ui::window* win = window_of(*this);
    if (content_ == nullptr || !arrows_ || win == nullptr) {
        return;
    }
    const point p = get_cursor_position(*win, *this);
    if (contains(boxes_.first_arrow, p)) {
        scroll_by(step_);
    } else if (contains(boxes_.second_arrow, p)) {
        scroll_by(-step_);
    }
}

void ScrollBar::on_wheel(const event_info& event)
{
    scroll_by(static_cast<std::int32_t>(wheel_amount(event.value)));
}

void ScrollBar::on_parent_resized()
{
    if (content_ != nullptr && content_->parent() != nullptr && !inert(orientation_)) {
        const std::int32_t position = start_along(orientation_, content_->geometry());
        const std::int32_t moved_to =
            content_position_after_parent_resize(position, length_along(orientation_, content_->geometry()),
                                                 length_along(orientation_, content_->parent()->geometry()));
        if (moved_to != position) {
            move_content(moved_to);
        }
    }
    recompute();
}

void ScrollBar::paint(renderer& drawing)
{
    draw_track(drawing, geometry());
    draw_thumb(drawing, boxes_.thumb);
    if (arrows_ && !inert(orientation_)) {
        draw_arrow(drawing, boxes_.first_arrow, true, *arrow_image_);
        draw_arrow(drawing, boxes_.second_arrow, false, *arrow_image_);
    }
}

void ScrollBar::draw_track(renderer& drawing, const rect& box)
{
    drawing.set_fill_color(get_style_value(style(), "scroll_back_color"));
    drawing.fill_rect({0, 0, box.width, box.height});
}

void ScrollBar::draw_thumb(renderer& drawing, const rect& box)
{
    drawing.set_fill_color(get_style_value(style(), "scroll_bar_back_color"));
    drawing.fill_rect(box);
    drawing.set_pen(get_style_value(style(), "scroll_bar_line_color"), 1.0f);
    drawing.set_line_style(0);
    const bool horizontal = orientation_ == scroll_orientation::horizontal;
    const std::int32_t centre = horizontal ? box.x + box.width / 2 : box.y + box.height / 2;
    for (const std::int32_t grip : {centre - 3, centre, centre + 3}) {
        if (horizontal) {
            drawing.draw_line({grip, 4}, {grip, box.height - 4});
        } else {
            drawing.draw_line({4, grip}, {box.width - 4, grip});
        }
    }
}

void ScrollBar::draw_arrow(renderer& drawing, const rect& box, bool is_first, image& arrow)
{
    drawing.set_fill_color(get_style_value(style(), "scroll_button_back_color"));
    drawing.fill_rect(box);
    drawing.set_pen(get_style_value(style(), "scroll_button_line_color"), 1.0f);
    drawing.set_line_style(0);
    const bool horizontal = orientation_ == scroll_orientation::horizontal;
    if (horizontal) {
        drawing.draw_line({box.x, box.y}, {box.x, box.y + box.height});
    } else {
        drawing.draw_line({box.x, box.y}, {box.x + box.width, box.y});
    }
    if (!arrow.loaded()) {
        return;
    }
    if (horizontal) {
        drawing.draw_image_part({box.x + box.width / 2 - 2, box.y + box.height / 2 - 4}, arrow,
                                is_first ? rect{0, 0, 4, 8} : rect{4, 0, 4, 8});
    } else {
        drawing.draw_image_part({box.x + box.width / 2 - 4, box.y + box.height / 2 - 2}, arrow,
                                is_first ? rect{0, 0, 8, 4} : rect{0, 4, 8, 4});
    }
}

}  // namespace qxsdk::ui
