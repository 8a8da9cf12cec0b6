#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "qxsdk/ui/core/event_object.h"
#include "qxsdk/ui/core/tooltip_state.h"
#include "qxsdk/ui/core/widget.h"

// What a top-level window keeps for its widget tree, without the platform: the root widget, keyboard focus,
// hover and the focus order, and the routing of the window's events to the widget that should receive
// them. The platform window derives from it and says where the cursor is and which keys are held.
namespace qxsdk::ui {

// A widget takes input when it is enabled and is shown when it is visible (own and inherited flags).
inline bool takes_input(const widget* w) noexcept
{
    return w != nullptr && w->enabled();
}

inline bool is_shown(const widget* w) noexcept
{
    return w != nullptr && w->visible();
}

// The one widget of the process that holds the mouse: while it is set, button releases and moves go to it.
widget* captured_widget() noexcept;
void set_captured_widget(widget* w) noexcept;

// The modifier keys is_key_down answers for.
namespace key_kind {
inline constexpr int ctrl_without_alt_gr = 0;  // either Ctrl, while the right Alt is not held
inline constexpr int left_ctrl = 1;
inline constexpr int right_ctrl = 2;
inline constexpr int shift = 3;
inline constexpr int left_shift = 4;
inline constexpr int right_shift = 5;
inline constexpr int alt = 6;
inline constexpr int left_alt = 7;
inline constexpr int right_alt = 8;
inline constexpr int space = 9;
}  // namespace key_kind

class window_base : public event_object, public widget_host {
public:
    ~window_base() override;

    widget& root() noexcept { return root_; }
    const widget& root() const noexcept { return root_; }
    widget* focused() const noexcept { return focused_; }
    widget* hovered() const noexcept { return hovered_; }
    std::span<widget* const> focus_order() const noexcept { return focus_order_; }
    tooltip_state& tooltip() noexcept { return tooltip_; }

    // The cursor is tracked inside the client area: the first move after it entered sets this.
    bool mouse_inside() const noexcept { return mouse_inside_; }
    void set_mouse_inside(bool inside) noexcept { mouse_inside_ = inside; }

    // The cursor position now, relative to the client area, in toolkit units.
    virtual point cursor_position() const = 0;
    // Whether a modifier key (a key_kind) is held now.
    virtual bool key_held(int kind) const = 0;

    // Tab traversal starts from the focused widget, or from the root when nothing is focused (which then
    // becomes the focused widget without any event).
    widget& traversal_start() noexcept
    {
        if (focused_ == nullptr) {
            focused_ = &root_;
        }
        return *focused_;
    }

    void add_to_focus_order(widget& w) override;
    void forget_widget(const widget& w) noexcept override;

    friend void set_focus_widget(window_base& window, widget* w, std::uint64_t reason);

protected:
    window_base();

    // Makes the root widget the root of this window's tree, as large as the client area, and focuses it.
    void create_root(const rect& client_area);

private:
    widget* focused_ = nullptr;
    widget* hovered_ = nullptr;
    std::vector<widget*> focus_order_;
    tooltip_state tooltip_;
    bool mouse_inside_ = false;
    // Last, so that it goes first: its destruction asks forget_widget to drop it from the members above.
    widget root_;

    friend bool route_window_event(window_base& window, std::int32_t code, std::uint64_t value);
};

// The cursor position relative to a widget of the window, in toolkit units.
point get_cursor_position(const window_base& window, const widget& w);

// The deepest shown widget under a point of the client area (toolkit units); later siblings are on top.
// It may be a widget that does not take input.
widget* widget_at_point(const window_base& window, point p);

// Whether the widget under the cursor takes input and has handlers for the code.
bool has_double_click_handler(const window_base& window, std::int32_t code);

// Moves the keyboard focus; the reason (a focus_reason) is the value of focus_lost and focus_gained.
void set_focus_widget(window_base& window, widget* w, std::uint64_t reason);

// Tab and Shift+Tab along the focus order, to the next focusable, enabled and shown widget.
void focus_next(window_base& window);
void focus_previous(window_base& window);

// Delivers one event of the window to the widget that should receive it. Always true.
bool route_window_event(window_base& window, std::int32_t code, std::uint64_t value);

}  // namespace qxsdk::ui
