#include "qxsdk/ui/window/widget_painting.h"

#include <cstddef>

#include "qxsdk/ui/core/event_codes.h"
#include "qxsdk/ui/core/event_dispatcher.h"
#include "qxsdk/ui/core/window_base.h"
#include "qxsdk/ui/window/window.h"

namespace qxsdk::ui {

namespace {

void paint_level(renderer& drawing, widget& w, const edges& dirty, const RECT& dirty_rect, point origin)
{
    if (!is_shown(&w)) {
        return;
    }
    origin = {origin.x + w.geometry().x, origin.y + w.geometry().y};
    const edges area{origin.x, origin.y, origin.x + w.geometry().width, origin.y + w.geometry().height};
    if (!touches(area, dirty)) {
        return;
    }
    const paint_scope bracket(drawing, w, dirty_rect);
    fire_event(w, event_code::paint);
    // Handlers may add or remove children, so the children are walked by index.
    for (std::size_t i = 0; i < w.children().size(); ++i) {
        const widget& child = *w.children()[i];
        if (child.shadow().on) {
            drawing.draw_shadow(child.geometry(), {child.shadow().offset_x, child.shadow().offset_y},
                                child.shadow().size);
        }
    }
    for (std::size_t i = 0; i < w.children().size(); ++i) {
        paint_level(drawing, *w.children()[i], dirty, dirty_rect, origin);
    }
}

}  // namespace

void paint_widget_tree(renderer& drawing, widget& w, const edges& dirty)
{
    paint_level(drawing, w, dirty, RECT{dirty.left, dirty.top, dirty.right, dirty.bottom}, {});
}

void paint_widget_tree(window& win, widget& w, const edges& dirty)
{
    if (painter* p = win.get_painter(); p != nullptr) {
        paint_widget_tree(p->get_renderer(), w, dirty);
    }
}

renderer* widget_renderer(const widget& w) noexcept
{
    auto* win = dynamic_cast<window*>(w.window());
    painter* p = win != nullptr ? win->get_painter() : nullptr;
    return p != nullptr ? &p->get_renderer() : nullptr;
}

}  // namespace qxsdk::ui
