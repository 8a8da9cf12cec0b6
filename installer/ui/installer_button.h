#pragma once
// The wizard's flat push button: fixed colours, a lighter border while the mouse is over it, a
// greyed look while disabled. It has no click logic: the wizard listens to its mouse_up, so any
// mouse button released over an enabled button counts as a click. UI thread only.

#include "qxsdk/ui/core/style_value.h"
#include "qxsdk/ui/core/widget.h"

#include <string>
#include <string_view>

namespace installer::ui {

class InstallerButton : public qxsdk::ui::widget {
public:
    InstallerButton();

    const std::string& text() const noexcept { return text_; }
    void set_text(std::string_view text);
    const qxsdk::ui::color& border_color() const noexcept { return border_color_; }

    void paint();

private:
    void on_hover();
    void on_leave();

    std::string text_;
    qxsdk::ui::color border_color_;
};

}  // namespace installer::ui
