#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "qxsdk/ui/controls/check_box.h"
#include "qxsdk/ui/controls/generic_button.h"
#include "qxsdk/ui/core/control_layout.h"
#include "qxsdk/ui/window/window.h"

// The toolkit's modal message box: an owned top-level window with a title, a message and one or two
// buttons whose click ends the modal loop with a result (1 for the first button, 0 for the second).
// Closing it through the frame's close box keeps the result the caller set before the loop.
// UI thread only.
namespace qxsdk::ui {

class MessagePopup : public window {
public:
    MessagePopup();

    GenericButton& first_button() noexcept { return first_button_; }
    GenericButton& second_button() noexcept { return second_button_; }
    const CheckBox& do_not_show_check_box() const noexcept { return do_not_show_; }
    const std::string& message() const noexcept { return message_; }
    const rect& message_box() const noexcept { return message_box_; }
    std::int32_t type() const noexcept { return type_; }

    // 0 leading, 1 centre, 2 trailing, any other value centre.
    void set_message_alignment(std::int32_t alignment);

    // Sizes the pop-up to its message (at least three buttons wide), places its parts and centres it.
    void update_layout();

    // Builds the constructed pop-up into a ready, hidden dialog: the caller then runs run_modal on it and
    // reads modal_result. The owner may be null. The pop-up keeps its own copy of the message. A type other
    // than 0 (OK), 1 (OK and Cancel) or 2 (Yes and No) throws std::invalid_argument before any window exists.
    friend void show_message_popup(MessagePopup& popup, window* owner, std::string_view title, std::string_view message,
                                   std::int32_t type);

private:
    void paint();
    void on_button(const event_info& event);
    void attach_button(GenericButton& button, const rect& area, std::string_view caption);

    GenericButton first_button_;
    GenericButton second_button_;
    CheckBox do_not_show_;
    popup_metrics metrics_;
    rect message_box_;
    std::string message_;
    std::int32_t message_alignment_ = 0;
    std::int32_t type_ = popup_type::ok;
};

void show_message_popup(MessagePopup& popup, window* owner, std::string_view title, std::string_view message,
                        std::int32_t type);

}  // namespace qxsdk::ui
