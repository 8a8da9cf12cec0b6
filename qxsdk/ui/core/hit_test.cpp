#include "qxsdk/ui/core/window_base.h"

#include <cstdint>

namespace qxsdk::ui {

namespace {

// A point relative to a widget, and a widget's far edges, in 64 bits: either may lie beyond the 32-bit range.
struct wide_point {
    std::int64_t x = 0;
    std::int64_t y = 0;
};

bool contains(const rect& area, wide_point p) noexcept
{
    return area.x <= p.x && p.x < std::int64_t{area.x} + area.width && area.y <= p.y &&
           p.y < std::int64_t{area.y} + area.height;
}

}  // namespace

widget* widget_at_point(const window_base& window, point p)
{
    const widget& root = window.root();
    const rect& root_area = root.geometry();
    if (!is_shown(&root) || p.x < 0 || p.y < 0 || p.x >= root_area.width || p.y >= root_area.height) {
        return nullptr;
    }
    const widget* current = &root;
    wide_point q{std::int64_t{p.x} - root_area.x, std::int64_t{p.y} - root_area.y};
    for (bool descended = true; descended;) {
        descended = false;
        const auto children = current->children();
        for (auto child = children.rbegin(); child != children.rend(); ++child) {
            if (is_shown(*child) && contains((*child)->geometry(), q)) {
                current = *child;
                q = {q.x - current->geometry().x, q.y - current->geometry().y};
                descended = true;
                break;
            }
        }
    }
    return const_cast<widget*>(current);
}

}  // namespace qxsdk::ui
