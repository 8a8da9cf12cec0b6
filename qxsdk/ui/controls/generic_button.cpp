#include "qxsdk/ui/controls/generic_button.h"

#include "qxsdk/ui/controls/control_drawing.h"
#include "qxsdk/ui/core/control_layout.h"
#include "qxsdk/ui/core/event_codes.h"
#include "qxsdk/ui/core/style_lookup.h"
#include "qxsdk/ui/core/virtual_keys.h"

namespace qxsdk::ui {

namespace {

constexpr font_keys button_font{"button_font_name", "button_font_style", "button_font_weight", "button_font_size"};

}  // namespace

GenericButton::GenericButton() : image_(new_image())
{
    connect_event(*this, event_code::paint, [this](const event_info&) { paint(); });
    connect_event(*this, event_code::mouse_enter, bind_handler(*this, &GenericButton::on_enter));
    connect_event(*this, event_code::mouse_leave, bind_handler(*this, &GenericButton::on_leave));
    connect_event(*this, event_code::focus_lost, bind_handler(*this, &GenericButton::on_focus));
    connect_event(*this, event_code::focus_gained, bind_handler(*this, &GenericButton::on_focus));
    connect_event(*this, event_code::mouse_up, bind_handler(*this, &GenericButton::click));
    connect_event(*this, event_code::key_down, bind_handler(*this, &GenericButton::on_key_down));
    connect_event(*this, event_code::style_changed, bind_handler(*this, &GenericButton::on_style_changed));
    set_focusable(true);
}

void GenericButton::set_text(std::string_view text)
{
    text_.assign(text);
    invalidate_widget(*this);
}

void GenericButton::click()
{
    if (toggle_mode_) {
        toggled_ = !toggled_;
        invalidate_widget(*this);
    }
    fire_event(*this, event_code::button_clicked, toggled_ ? 1u : 0u);
}

void GenericButton::on_enter()
{
    hovered_ = true;
    invalidate_widget(*this);
}

void GenericButton::on_leave()
{
    hovered_ = false;
    invalidate_widget(*this);
}

void GenericButton::on_focus()
{
    invalidate_widget(*this);
}

void GenericButton::on_key_down(const event_info& event)
{
    if (event.value == virtual_key::enter) {
        click();
    }
}

void GenericButton::on_style_changed(const event_info& event)
{
    if (changed_style_key(event) != "button_back_image") {
        return;
    }
    if (image_->loaded()) {
        release_target_bitmaps(*image_);
    }
    invalidate_widget(*this);
}

bool GenericButton::load_picture(const image_reference& strip)
{
    if (image_->loaded()) {
        return true;
    }
    if (!load_picture_strip(*image_, strip)) {
        return false;
    }
    const size_units picture{static_cast<std::int32_t>(image_->width()), static_cast<std::int32_t>(image_->height())};
    image_box_ = button_picture_box({geometry().width, geometry().height}, picture,
                                    strip_frame_height(image_->height(), strip.frames));
    return true;
}

void GenericButton::paint()
{
    renderer& drawing = control_renderer(*this);
    const rect whole{0, 0, geometry().width, geometry().height};
    drawing.set_fill_color(toggled_   ? get_style_value(style(), "button_color_toggle")
                           : hovered_ ? get_style_value(style(), "button_color_hover")
                                      : get_style_value(style(), "button_color_normal"));
    drawing.fill_rect(whole);

    const image_reference strip = get_style_image(style(), "button_back_image");
    if (names_picture(strip) && load_picture(strip)) {
        const std::int32_t top = button_frame_top(strip.frames, image_box_.height, hovered_ || toggled_);
        drawing.draw_image_part({image_box_.x, image_box_.y}, *image_, {0, top, image_box_.width, image_box_.height});
    }

    if (hovered_) {
        drawing.set_line_style(0);
        drawing.set_pen(get_style_value(style(), "button_border_color_hover"), 1.0f);
        drawing.draw_rect(whole);
    } else if (has_focus(*this)) {
        drawing.set_line_style(1);
        drawing.set_pen(get_style_value(style(), "button_border_color_focus"), 1.0f);
        drawing.draw_rect(whole);
        drawing.set_line_style(0);
    }

    drawing.set_text_color(get_style_value(style(), "button_font_color"));
    set_style_font(drawing, style(), button_font);
    drawing.set_text_alignment(1, 0);  // centred both ways
    if (!text_.empty()) {
        drawing.draw_text(whole, text_);
    }
}

}  // namespace qxsdk::ui
