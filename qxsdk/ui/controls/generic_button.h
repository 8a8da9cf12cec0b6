#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "qxsdk/ui/core/event_dispatcher.h"
#include "qxsdk/ui/core/widget.h"
#include "qxsdk/ui/draw/image.h"

// The push button, with an optional toggle mode: a background that follows its state, an optional frame of
// a picture strip ("button_back_image": normal, then hovered or toggled), a border while hovered or
// focused, and a centred caption. A mouse button release, or Enter pressed while it has the focus, fires
// button_clicked (27) with its toggled state. UI thread only.
namespace qxsdk::ui {

class GenericButton : public widget {
public:
    GenericButton();

    const std::string& text() const noexcept { return text_; }
    void set_text(std::string_view text);

    bool hovered() const noexcept { return hovered_; }
    bool toggled() const noexcept { return toggled_; }
    bool toggle_mode() const noexcept { return toggle_mode_; }
    void set_toggle_mode(bool on) noexcept { toggle_mode_ = on; }
    const rect& image_box() const noexcept { return image_box_; }

    // In toggle mode flips the toggled state first; then fires button_clicked with it (0 or 1).
    void click();

    virtual void paint();

private:
    void on_enter();
    void on_leave();
    void on_focus();
    void on_key_down(const event_info& event);
    void on_style_changed(const event_info& event);
    // Decodes the picture on first use and centres one frame of it in the button.
    bool load_picture(const image_reference& strip);

    std::string text_;
    bool hovered_ = false;
    bool toggled_ = false;
    bool toggle_mode_ = false;
    std::unique_ptr<image> image_;
    rect image_box_;
};

}  // namespace qxsdk::ui
