#include "qxsdk/ui/controls/message_popup.h"

#include <windows.h>

#include <stdexcept>

#include "qxsdk/ui/core/event_codes.h"
#include "qxsdk/ui/core/event_dispatcher.h"
#include "qxsdk/ui/core/style_lookup.h"

namespace qxsdk::ui {

namespace {

constexpr color popup_back_color{0.2313f, 0.2313f, 0.2549f, 1.0f};
constexpr color message_color{0.882f, 0.882f, 0.882f, 1.0f};
constexpr rect initial_client{0, 0, 400, 200};
constexpr rect initial_message_box{20, 20, 360, 20};
constexpr rect initial_checkbox{20, 50, 320, 20};
constexpr rect right_button{280, 150, 100, 30};
constexpr rect left_button{170, 150, 100, 30};

// The pop-up's own font, whatever the theme says: Tahoma 12, normal weight and style.
void set_message_font(renderer& drawing)
{
    drawing.set_font("Tahoma", 12.0f, 0, 0);
}

}  // namespace

MessagePopup::MessagePopup() = default;

void MessagePopup::set_message_alignment(std::int32_t alignment)
{
    message_alignment_ = alignment;
    invalidate_widget(root());
}

void MessagePopup::attach_button(GenericButton& button, const rect& area, std::string_view caption)
{
    attach_widget(button, root(), area);
    connect_event(button, event_code::button_clicked, bind_handler(*this, &MessagePopup::on_button));
    button.set_text(caption);
}

void show_message_popup(MessagePopup& popup, window* owner, std::string_view title, std::string_view message,
                        std::int32_t type)
{
    if (!is_popup_type(type)) {
        throw std::invalid_argument("a message pop-up's type is 0 (OK), 1 (OK and Cancel) or 2 (Yes and No)");
    }
    if (owner != nullptr) {
        popup.set_owner(owner);
    }
    popup.create_window(title, initial_client);
    popup.message_.assign(message);
    popup.type_ = type;

    widget& root = popup.root();
    set_style_property(root.style(), "default_back_color", popup_back_color);
    if (root.visible()) {
        invalidate_widget(root);
    }
    connect_event(root, event_code::paint, bind_handler(popup, &MessagePopup::paint));

    // Created with the pop-up and never shown.
    CheckBox& check_box = popup.do_not_show_;
    attach_widget(check_box, root, initial_checkbox);
    check_box.set_text("Do not show this again");
    check_box.set_checked(false);
    check_box.update_layout(0);
    set_visible(check_box, false);

    popup.message_box_ = initial_message_box;
    if (type == popup_type::ok) {
        popup.attach_button(popup.first_button_, right_button, "OK");
    } else {
        const bool yes_no = type == popup_type::yes_no;
        popup.attach_button(popup.first_button_, left_button, yes_no ? "Yes" : "OK");
        popup.attach_button(popup.second_button_, right_button, yes_no ? "No" : "Cancel");
    }
    set_focus_widget(popup, &popup.first_button_, focus_reason::popup);
    popup.update_layout();
}

void MessagePopup::update_layout()
{
    renderer& drawing = get_painter()->get_renderer();
    set_message_font(drawing);
    drawing.set_text_alignment(0, 1);  // leading, near
    size_units measured;
    if (!message_.empty()) {
        const extent size = drawing.measure_text(message_, {0, 0});
        measured = {size.width, size.height};
    }
    const popup_geometry layout = popup_layout(metrics_, type_, measured);

    RECT outer{};
    GetWindowRect(native().handle(), &outer);
    set_client_size({outer.left, outer.top, layout.client.width, layout.client.height});
    message_box_ = layout.message;
    set_geometry(do_not_show_, layout.checkbox);
    set_geometry(first_button_, layout.first_button);
    if (type_ != popup_type::ok) {
        set_geometry(second_button_, layout.second_button);
    }
    center_window();
}

void MessagePopup::paint()
{
    renderer& drawing = get_painter()->get_renderer();
    drawing.set_fill_color(get_style_value(root().style(), "default_back_color"));
    drawing.fill_rect({0, 0, root().geometry().width, root().geometry().height});
    drawing.set_text_color(message_color);
    set_message_font(drawing);
    drawing.set_text_alignment(message_alignment_, 1);
    if (!message_.empty()) {
        drawing.draw_text(message_box_, message_);
    }
}

void MessagePopup::on_button(const event_info& event)
{
    if (event.sender == &first_button_) {
        set_modal_result(1);
    } else if (event.sender == &second_button_) {
        set_modal_result(0);
    } else {
        return;
    }
    end_modal();
}

}  // namespace qxsdk::ui
