#include "qxsdk/ui/controls/check_box.h"

#include "qxsdk/ui/controls/control_drawing.h"
#include "qxsdk/ui/core/event_codes.h"
#include "qxsdk/ui/core/style_lookup.h"
#include "qxsdk/ui/core/virtual_keys.h"

namespace qxsdk::ui {

namespace {

constexpr font_keys checkbox_font{"checkbox_font_name", "checkbox_font_style", "checkbox_font_weight",
                                  "checkbox_font_size"};
// An attached check box centres picture and caption until its owner lays it out otherwise.
constexpr std::int32_t attached_layout_mode = 2;
constexpr float disabled_caption_alpha = 0.5f;

}  // namespace

CheckBox::CheckBox() : image_(new_image())
{
    connect_event(*this, event_code::attached, bind_handler(*this, &CheckBox::on_attached));
    set_name("CheckBox");
    set_focusable(true);
}

void CheckBox::on_attached()
{
    if (!handlers_bound_) {
        connect_event(*this, event_code::paint, [this](const event_info&) { paint(); });
        connect_event(*this, event_code::mouse_up, bind_handler(*this, &CheckBox::toggle));
        connect_event(*this, event_code::mouse_enter, bind_handler(*this, &CheckBox::set_hovered, true));
        connect_event(*this, event_code::mouse_leave, bind_handler(*this, &CheckBox::set_hovered, false));
        connect_event(*this, event_code::focus_lost, bind_handler(*this, &CheckBox::on_focus));
        connect_event(*this, event_code::focus_gained, bind_handler(*this, &CheckBox::on_focus));
        connect_event(*this, event_code::key_up, bind_handler(*this, &CheckBox::on_key_up));
        connect_event(*this, event_code::style_changed, bind_handler(*this, &CheckBox::on_style_changed));
        handlers_bound_ = true;
    }
    update_layout(attached_layout_mode);
    set_enabled(*this, false);
}

void CheckBox::toggle()
{
    checked_ = !checked_;
    if (bound_value_ != nullptr) {
        *bound_value_ = checked_;
    }
    invalidate_widget(*this);
    fire_event(*this, event_code::toggled, 0);
}

void CheckBox::bind_value(bool* value)
{
    if (value == nullptr) {
        return;
    }
    bound_value_ = value;
    if (!own_enabled()) {
        set_enabled(*this, true);
    }
    set_checked(*value);
}

void CheckBox::set_checked(bool checked)
{
    checked_ = checked;
    if (bound_value_ != nullptr) {
        *bound_value_ = checked_;
    }
    invalidate_widget(*this);
}

void CheckBox::set_text(std::string_view text)
{
    text_.assign(text);
    update_layout(layout_mode_);
    invalidate_widget(*this);
}

void CheckBox::set_hovered(bool hovered)
{
    hovered_ = hovered;
    invalidate_widget(*this);
}

void CheckBox::on_focus()
{
    invalidate_widget(*this);
}

void CheckBox::on_key_up(const event_info& event)
{
    if (event.value == virtual_key::space) {
        toggle();
    }
}

void CheckBox::on_style_changed(const event_info& event)
{
    if (changed_style_key(event) == "checkbox_image") {
        release_target_bitmaps(*image_);
    }
    update_layout(layout_mode_);
    invalidate_widget(*this);
}

void CheckBox::load_image()
{
    const image_reference strip = get_style_image(style(), "checkbox_image");
    if (load_picture_strip(*image_, strip) && names_picture(strip)) {
        frame_size_ = {static_cast<std::int32_t>(image_->width()), strip_frame_height(image_->height(), strip.frames)};
    } else {
        frame_size_ = {};
    }
}

void CheckBox::update_layout(std::int32_t mode)
{
    renderer& drawing = control_renderer(*this);
    set_style_font(drawing, style(), checkbox_font);
    drawing.set_text_alignment(0, 1);  // leading, near: the measure of one unwrapped line
    size_units caption;
    if (!text_.empty()) {
        const extent measured = drawing.measure_text(text_, {0, 0});
        caption = {measured.width, measured.height};
    }
    load_image();
    boxes_ = checkbox_layout(mode, {geometry().width, geometry().height}, frame_size_, caption, boxes_);
    layout_mode_ = mode;
    invalidate_widget(*this);
}

void CheckBox::paint()
{
    renderer& drawing = control_renderer(*this);
    drawing.set_fill_color(get_style_value(style(), "checkbox_back_color"));
    drawing.fill_rect({0, 0, geometry().width, geometry().height});

    const image_reference strip = get_style_image(style(), "checkbox_image");
    if (image_->loaded() && frame_size_.height > 0) {
        const std::int32_t top = checkbox_frame_top(strip.frames, frame_size_.height, hovered_, checked_ && enabled());
        drawing.draw_image_part({boxes_.image.x, boxes_.image.y}, *image_,
                                {0, top, frame_size_.width, frame_size_.height});
    }

    drawing.set_line_style(0);
    const color border = hovered_ ? get_style_value(style(), "checkbox_border_color_hover")
                                  : get_style_value(style(), "checkbox_border_color_normal");
    drawing.set_pen(border, get_style_float(style(), "checkbox_border_width"));
    drawing.draw_rect(boxes_.image);
    if (has_focus(*this) && !hovered_) {
        drawing.set_line_style(1);
        drawing.set_pen(get_style_value(style(), "checkbox_border_color_focus"), 1.0f);
        drawing.draw_rect(boxes_.image);
        drawing.set_line_style(0);
    }

    color ink = get_style_value(style(), "checkbox_font_color");
    ink.alpha = enabled() ? 1.0f : disabled_caption_alpha;
    drawing.set_text_color(ink);
    set_style_font(drawing, style(), checkbox_font);
    drawing.set_text_alignment(0, 0);  // leading, centred vertically
    if (!text_.empty()) {
        drawing.draw_text(boxes_.text, text_);
    }
}

}  // namespace qxsdk::ui
