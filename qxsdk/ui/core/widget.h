#pragma once

#include <algorithm>
#include <cstdint>
#include <limits>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "qxsdk/ui/core/event_object.h"
#include "qxsdk/ui/core/style_lookup.h"

// The node of the toolkit's widget tree. Geometry is in toolkit units of 1/96 inch, relative to the parent.
// UI thread only.
namespace qxsdk::ui {

struct rect {
    std::int32_t x = 0;
    std::int32_t y = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;

    friend bool operator==(const rect&, const rect&) = default;
};

struct point {
    std::int32_t x = 0;
    std::int32_t y = 0;

    friend bool operator==(const point&, const point&) = default;
};

// The 32-bit value nearest to a result of 64-bit unit arithmetic.
constexpr std::int32_t saturate_units(std::int64_t value) noexcept
{
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(value, std::numeric_limits<std::int32_t>::min(),
                                                              std::numeric_limits<std::int32_t>::max()));
}

// A margin kept from one of the parent's edges when the parent is resized.
struct anchor {
    bool on = false;
    std::int32_t margin = 0;
};

struct anchor_set {
    anchor top;
    anchor bottom;
    anchor left;
    anchor right;
};

// Drawn under the widget by its parent's paint.
struct shadow_settings {
    bool on = false;
    std::int32_t offset_x = 0;
    std::int32_t offset_y = 0;
    std::int32_t size = 20;
};

class widget;

// What a widget needs of the window it belongs to; the window implements it.
class widget_host {
public:
    // Repaints an area, absolute in the window's client area, without erasing the background.
    virtual void invalidate_area(const rect& area) = 0;

    // Every created widget joins the focus order, focusable or not.
    virtual void add_to_focus_order(widget& w) = 0;

    // The widget is being destroyed: the window drops every entry of it from its focus order and clears its
    // focused, hovered and captured references to it. Called while the window's root widget is destroyed too.
    virtual void forget_widget(const widget& w) noexcept = 0;

    virtual ~widget_host() = default;
};

// A widget is visible (enabled) only when its own flag and its effective flag, inherited from its ancestors,
// are both set. It does not own its children: whoever creates a widget owns it.
class widget : public event_object {
public:
    widget();
    ~widget() override;

    style_block& style() noexcept { return style_; }
    const style_block& style() const noexcept { return style_; }

    bool created() const noexcept { return created_; }
    widget* parent() const noexcept { return parent_; }
    widget_host* window() const noexcept { return window_; }
    std::span<widget* const> children() const noexcept { return children_; }

    const std::string& name() const noexcept { return name_; }
    void set_name(std::string name) { name_ = std::move(name); }

    bool visible() const noexcept { return visible_.own && visible_.effective; }
    bool own_visible() const noexcept { return visible_.own; }
    bool effective_visible() const noexcept { return visible_.effective; }
    bool enabled() const noexcept { return enabled_.own && enabled_.effective; }
    bool own_enabled() const noexcept { return enabled_.own; }
    bool effective_enabled() const noexcept { return enabled_.effective; }

    bool focusable() const noexcept { return focusable_; }
    void set_focusable(bool focusable) noexcept { focusable_ = focusable; }

    const rect& geometry() const noexcept { return rect_; }

    // Plain settings: changing them raises nothing and lays nothing out again.
    anchor_set& anchors() noexcept { return anchors_; }
    const anchor_set& anchors() const noexcept { return anchors_; }
    shadow_settings& shadow() noexcept { return shadow_; }
    const shadow_settings& shadow() const noexcept { return shadow_; }

    // Puts a detached widget into a tree: it joins the parent's window, is created with the rectangle,
    // becomes the parent's last child and receives attached. Events in order: shown (when it was hidden) on
    // the child, child_added on the parent, attached on the child.
    friend void attach_widget(widget& child, widget& parent, const rect& area);

    // Makes the widget the root of a window's tree, at (0, 0) with the area's size.
    friend void create_root_widget(widget& root, widget_host& window, const rect& area);

    // Stores the rectangle silently, turns the own enabled and visible flags on (firing shown before the
    // visible flag changes) and appends the widget to its window's focus order.
    friend void create_widget(widget& w, const rect& area);

    // The child (which must have no other parent) joins the end of the children and takes the parent's own
    // flags as its effective ones; fires child_added. It neither sets the window nor invalidates.
    friend void add_child(widget& parent, widget& child);

    // Takes the child out of the children (nothing when it is not one), resets its effective flags and fires
    // child_removed. The child keeps its window.
    friend void remove_child(widget& parent, widget& child);

    // Stores the rectangle; once created, raises resized, parent_resized (and anchors the children), moved
    // and parent_moved for what changed, and repaints the old and the new area.
    friend void set_geometry(widget& w, const rect& area);

    // Holds the child at its anchored margins in a parent of the given size. Writes the rectangle directly:
    // no events, and the child's own children are not anchored again.
    friend void apply_anchors(widget& child, std::int32_t parent_width, std::int32_t parent_height);

    friend void set_enabled(widget& w, bool enabled);
    friend void set_visible(widget& w, bool visible);  // fires shown or hidden before the flag changes

    // Sets the effective flag and passes (it and the own flag) down the subtree; no events, no repaint.
    friend void propagate_enabled(widget& w, bool effective);
    friend void propagate_visible(widget& w, bool effective);

private:
    struct flag_pair {
        bool own;
        bool effective;
    };

    static void propagate(widget& w, flag_pair widget::*flags, bool effective);
    // Sets the own flag, hands it down as the children's effective flag, and repaints the widget.
    static void change_own_flag(widget& w, flag_pair widget::*flags, bool own);

    style_block style_;
    bool created_ = false;
    widget* parent_ = nullptr;
    widget_host* window_ = nullptr;
    std::vector<widget*> children_;
    std::string name_ = "Widget";
    flag_pair visible_{false, true};
    bool focusable_ = false;
    flag_pair enabled_{true, true};
    rect rect_;
    anchor_set anchors_;
    shadow_settings shadow_;
};

void attach_widget(widget& child, widget& parent, const rect& area);
void create_root_widget(widget& root, widget_host& window, const rect& area);
void create_widget(widget& w, const rect& area);
void add_child(widget& parent, widget& child);
void remove_child(widget& parent, widget& child);
void set_geometry(widget& w, const rect& area);
void apply_anchors(widget& child, std::int32_t parent_width, std::int32_t parent_height);
void set_enabled(widget& w, bool enabled);
void set_visible(widget& w, bool visible);
void propagate_enabled(widget& w, bool effective);
void propagate_visible(widget& w, bool effective);

// Asks the window to repaint the widget's area; nothing for a widget without a window.
void invalidate_widget(const widget& w);

}  // namespace qxsdk::ui
