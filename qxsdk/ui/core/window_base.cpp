#include "qxsdk/ui/core/window_base.h"

#include <algorithm>

namespace qxsdk::ui {

window_base::window_base() = default;

window_base::~window_base() = default;

void window_base::create_root(const rect& client_area)
{
    create_root_widget(root_, *this, client_area);
    focused_ = &root_;
}

void window_base::add_to_focus_order(widget& w)
{
    focus_order_.push_back(&w);
}

void window_base::forget_widget(const widget& w) noexcept
{
    std::erase(focus_order_, &w);
    if (focused_ == &w) {
        focused_ = nullptr;
    }
    if (hovered_ == &w) {
        hovered_ = nullptr;
    }
    if (captured_widget() == &w) {
        set_captured_widget(nullptr);
    }
    tooltip_.forget_widget(w);
}

point get_cursor_position(const window_base& window, const widget& w)
{
    point p = window.cursor_position();
    for (const widget* level = &w; level != nullptr && level->parent() != nullptr; level = level->parent()) {
        p.x -= level->geometry().x;
        p.y -= level->geometry().y;
    }
    return p;
}

}  // namespace qxsdk::ui
