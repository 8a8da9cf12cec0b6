#include "installer/ui/installer_button.h"

#include "installer/ui/installer_button_detail.h"
#include "qxsdk/ui/controls/control_drawing.h"
#include "qxsdk/ui/core/event_codes.h"
#include "qxsdk/ui/core/event_dispatcher.h"

namespace installer::ui {

using namespace qxsdk::ui;

namespace {

constexpr color button_fill_enabled{0.212f, 0.212f, 0.212f, 1.0f};
constexpr color button_fill_disabled{0.157f, 0.157f, 0.157f, 1.0f};
constexpr color button_text_enabled{0.831f, 0.831f, 0.831f, 1.0f};
constexpr color button_text_disabled{0.831f, 0.831f, 0.831f, 0.5f};

// Member functions without arguments, bound to the button and connected to its own events.
void connect_button_handler(InstallerButton& button, std::int32_t code, void (InstallerButton::*member)())
{
    connect_event(button, code, bind_handler(button, member));
}

}  // namespace

InstallerButton::InstallerButton() : border_color_(button_border_normal)
{
    connect_button_handler(*this, event_code::paint, &InstallerButton::paint);
    connect_button_handler(*this, event_code::mouse_enter, &InstallerButton::on_hover);
    connect_button_handler(*this, event_code::mouse_leave, &InstallerButton::on_leave);
}

void InstallerButton::set_text(std::string_view text)
{
    text_.assign(text);
    invalidate_widget(*this);
}

void InstallerButton::on_hover()
{
    border_color_ = button_border_hover;
    invalidate_widget(*this);
}

void InstallerButton::on_leave()
{
    border_color_ = button_border_normal;
    invalidate_widget(*this);
}

void InstallerButton::paint()
{
    renderer& drawing = control_renderer(*this);
    const rect whole{0, 0, geometry().width, geometry().height};
    if (enabled()) {
        drawing.set_fill_color(button_fill_enabled);
        drawing.set_text_color(button_text_enabled);
    } else {
        // A button disabled under the mouse gets no mouse_leave: it loses its hover colour here.
        border_color_ = button_border_normal;
        drawing.set_fill_color(button_fill_disabled);
        drawing.set_text_color(button_text_disabled);
    }
    drawing.fill_rect(whole);
    drawing.set_pen(border_color_, 1.0f);
    // Another widget may have left the dotted style set.
    drawing.set_line_style(0);
    drawing.draw_rect(whole);
    drawing.set_font("Tahoma", 11.0f, 0, 0);
    drawing.set_text_alignment(1, 0);  // centred both ways
    if (!text_.empty()) {
        drawing.draw_text(whole, text_);
    }
}

}  // namespace installer::ui
