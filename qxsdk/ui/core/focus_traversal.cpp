#include "qxsdk/ui/core/window_base.h"

#include <algorithm>
#include <cstddef>

#include "qxsdk/ui/core/event_codes.h"
#include "qxsdk/ui/core/event_dispatcher.h"

namespace qxsdk::ui {

namespace {

bool can_take_tab_focus(const widget* w) noexcept
{
    return w->focusable() && takes_input(w) && is_shown(w);
}

// Walks the focus order from start by step (+1 or -1), wrapping, to the first widget that passes the test;
// start itself when the walk comes back to it.
template <class Test>
std::size_t walk(std::span<widget* const> order, std::size_t start, std::ptrdiff_t step, Test test)
{
    const auto n = static_cast<std::ptrdiff_t>(order.size());
    auto i = static_cast<std::ptrdiff_t>(start);
    do {
        i = ((i + step) % n + n) % n;
    } while (i != static_cast<std::ptrdiff_t>(start) && !test(order[static_cast<std::size_t>(i)]));
    return static_cast<std::size_t>(i);
}

// The place in the focus order where traversal starts, or none: a focused widget outside the order (a
// widget of another window) has no Tab neighbours.
const widget* traversal_start(window_base& window, std::size_t& index)
{
    const widget* start = &window.traversal_start();
    const auto order = window.focus_order();
    const auto found = std::find(order.begin(), order.end(), start);
    if (found == order.end()) {
        return nullptr;
    }
    index = static_cast<std::size_t>(found - order.begin());
    return *found;
}

}  // namespace

void set_focus_widget(window_base& window, widget* w, std::uint64_t reason)
{
    if (w == window.focused_) {
        return;
    }
    if (window.focused_ != nullptr) {
        fire_event(*window.focused_, event_code::focus_lost, reason);
    }
    window.focused_ = w;
    if (takes_input(w)) {
        fire_event(*w, event_code::focus_gained, reason);
    }
}

void focus_next(window_base& window)
{
    std::size_t i = 0;
    const widget* focused = traversal_start(window, i);
    if (focused == nullptr) {
        return;
    }
    const auto order = window.focus_order();
    widget* reached = order[walk(order, i, +1, can_take_tab_focus)];
    if (reached != focused) {
        set_focus_widget(window, reached, focus_reason::tab);
    }
}

void focus_previous(window_base& window)
{
    std::size_t i = 0;
    const widget* focused = traversal_start(window, i);
    if (focused == nullptr) {
        return;
    }
    const auto order = window.focus_order();
    std::size_t start = i;
    if (!focused->focusable()) {
        start = walk(order, i, -1, [](const widget* w) { return w->focusable(); });
    }
    const std::size_t target =
        walk(order, start, -1, [&](const widget* w) { return can_take_tab_focus(w) || w == order[i]; });
    widget* reached = order[target];
    if (reached != focused && can_take_tab_focus(reached)) {
        set_focus_widget(window, reached, focus_reason::tab);
    }
}

}  // namespace qxsdk::ui
