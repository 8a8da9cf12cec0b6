#pragma once
// The wizard's flat push button: fixed colours, a lighter border while the mouse is over it, a
// greyed look while disabled. It has no click logic: the wizard listens to its mouse_up, so any
// mouse button released over an enabled button counts as a click. UI thread only.

#include "qxsdk/ui/core/style_value.h"
#include "qxsdk/ui/core/widget.h"

#include <string>
#include <string_view>

namespace installer::ui {

inline constexpr qxsdk::ui::color button_border_normal{0.4f, 0.4f, 0.4f, 1.0f};
inline constexpr qxsdk::ui::color button_border_hover{0.6f, 0.6f, 0.6f, 1.0f};
inline constexpr qxsdk::ui::color button_fill_enabled{0.212f, 0.212f, 0.212f, 1.0f};
inline constexpr qxsdk::ui::color button_fill_disabled{0.157f, 0.157f, 0.157f, 1.0f};
inline constexpr qxsdk::ui::color button_text_enabled{0.831f, 0.831f, 0.831f, 1.0f};
inline constexpr qxsdk::ui::color button_text_disabled{0.831f, 0.831f, 0.831f, 0.5f};

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
    qxsdk::ui::color border_color_ = button_border_normal;
};

}  // namespace installer::ui
