#include "qxsdk/ui/controls/generic_panel.h"

#include "qxsdk/ui/controls/control_drawing.h"
#include "qxsdk/ui/core/event_codes.h"
#include "qxsdk/ui/core/event_dispatcher.h"

namespace qxsdk::ui {

GenericPanel::GenericPanel()
{
    connect_event(*this, event_code::paint, bind_handler(*this, &GenericPanel::paint));
}

void GenericPanel::paint()
{
    fill_background(*this);
}

void fill_background(const widget& w)
{
    renderer& drawing = control_renderer(w);
    drawing.set_fill_color(get_style_value(w.style(), "default_back_color"));
    drawing.fill_rect({0, 0, w.geometry().width, w.geometry().height});
}

}  // namespace qxsdk::ui
