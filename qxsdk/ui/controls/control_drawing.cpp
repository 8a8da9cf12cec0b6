#include "qxsdk/ui/controls/control_drawing.h"

#include <stdexcept>

#include "qxsdk/ui/core/control_layout.h"
#include "qxsdk/ui/core/window_base.h"
#include "qxsdk/ui/window/widget_painting.h"

namespace qxsdk::ui {

renderer& control_renderer(const widget& control)
{
    renderer* drawing = widget_renderer(control);
    if (drawing == nullptr) {
        throw std::logic_error("the control is not attached to a created window");
    }
    return *drawing;
}

bool has_focus(const widget& control) noexcept
{
    const auto* host = dynamic_cast<const window_base*>(control.window());
    return host != nullptr && host->focused() == &control;
}

void set_style_font(renderer& drawing, const style_block& style, const font_keys& keys)
{
    drawing.set_font(get_style_string(style, keys.name), get_style_float(style, keys.size),
                     get_style_int(style, keys.weight), get_style_int(style, keys.style));
}

bool load_picture_strip(image& picture, const image_reference& strip)
{
    if (!picture.loaded() && names_picture(strip)) {
        // Controls decode while painting: a picture that cannot be converted is left out, not thrown
        // through the paint, and tried again next time.
        try {
            load_image_from_memory(picture, strip.png());
        } catch (const std::runtime_error&) {
            return false;
        }
    }
    return picture.loaded();
}

}  // namespace qxsdk::ui
