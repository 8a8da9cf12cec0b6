#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "qxsdk/ui/core/control_layout.h"
#include "qxsdk/ui/core/event_dispatcher.h"
#include "qxsdk/ui/core/widget.h"
#include "qxsdk/ui/draw/image.h"

// A two-state control: a frame of a picture strip ("checkbox_image": unchecked, checked, and optionally
// both again while hovered) with a border, and a caption beside it. It toggles on a mouse button release
// or on the release of Space, mirrors its state into the owner's bound flag and fires toggled (26). It is
// disabled from its attachment until a flag is bound. UI thread only.
namespace qxsdk::ui {

class CheckBox : public widget {
public:
    CheckBox();

    bool checked() const noexcept { return checked_; }
    const std::string& text() const noexcept { return text_; }
    const rect& image_box() const noexcept { return boxes_.image; }
    const rect& text_box() const noexcept { return boxes_.text; }
    bool hovered() const noexcept { return hovered_; }
    size_units frame_size() const noexcept { return frame_size_; }
    std::int32_t layout_mode() const noexcept { return layout_mode_; }
    const image& picture() const noexcept { return *image_; }

    // Flips the state, writes it to the bound flag, repaints and fires toggled with the value 0.
    void toggle();

    // From now on the flag mirrors the state: enables the check box and takes the flag's value, without
    // firing toggled. A null flag changes nothing. The flag must outlive the check box.
    void bind_value(bool* value);

    // Sets the state (and the bound flag) without firing toggled.
    void set_checked(bool checked);

    // Replaces the caption (also by an equal one) and lays the check box out again in its layout mode.
    // Needs the check box's window.
    void set_text(std::string_view text);

    // Places picture and caption by the mode (see checkbox_layout) and keeps the mode. Needs the window.
    void update_layout(std::int32_t mode);

    virtual void paint();

private:
    void on_attached();
    void set_hovered(bool hovered);
    void on_focus();
    void on_key_up(const event_info& event);
    void on_style_changed(const event_info& event);
    void load_image();

    std::string text_;
    bool checked_ = false;
    checkbox_boxes boxes_;
    bool hovered_ = false;
    size_units frame_size_;
    std::int32_t layout_mode_ = 0;
    bool* bound_value_ = nullptr;
    std::unique_ptr<image> image_;
    // Attaching again (after a removal) must not bind the handlers twice, or one click would toggle twice.
    bool handlers_bound_ = false;
};

}  // namespace qxsdk::ui
