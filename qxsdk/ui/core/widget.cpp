#include "qxsdk/ui/core/widget.h"

#include <algorithm>

#include "qxsdk/ui/core/event_codes.h"
#include "qxsdk/ui/core/event_dispatcher.h"

namespace qxsdk::ui {

namespace {

// Offsets an area given in the parent's coordinates by every ancestor's position, up to the root.
rect absolute_area(const widget* parent, rect area)
{
    std::int64_t x = area.x;
    std::int64_t y = area.y;
    for (const widget* ancestor = parent; ancestor != nullptr; ancestor = ancestor->parent()) {
        x += ancestor->geometry().x;
        y += ancestor->geometry().y;
    }
    area.x = saturate_units(x);
    area.y = saturate_units(y);
    return area;
}

void invalidate_area(const widget& w, const rect& area_in_parent)
{
    if (w.window() != nullptr) {
        w.window()->invalidate_area(absolute_area(w.parent(), area_in_parent));
    }
}

// The position and length a pair of anchors gives along one axis of a parent of the given length.
void anchor_axis(const anchor& near, const anchor& far, std::int32_t parent_length, std::int32_t& position,
                 std::int32_t& length)
{
    if (far.on && near.on) {
        position = near.margin;
        length = saturate_units(std::int64_t{parent_length} - far.margin - position);
    } else if (far.on) {
        position = saturate_units(std::int64_t{parent_length} - far.margin - length);
    } else if (near.on) {
        position = near.margin;
    }
}

}  // namespace

widget::widget() : style_(this) {}

widget::~widget()
{
    if (parent_ != nullptr) {
        remove_child(*parent_, *this);
    }
    for (widget* child : children_) {
        child->parent_ = nullptr;
    }
    if (window_ != nullptr) {
        window_->forget_widget(*this);
    }
}

void widget::propagate(widget& w, flag_pair widget::*flags, bool effective)
{
    (w.*flags).effective = effective;
    for (widget* child : w.children_) {
        propagate(*child, flags, effective && (w.*flags).own);
    }
}

void widget::change_own_flag(widget& w, flag_pair widget::*flags, bool own)
{
    (w.*flags).own = own;
    for (widget* child : w.children_) {
        propagate(*child, flags, own);
    }
    invalidate_widget(w);
}

void attach_widget(widget& child, widget& parent, const rect& area)
{
    child.window_ = parent.window_;
    child.parent_ = &parent;
    create_widget(child, area);
    add_child(parent, child);
    fire_event(child, event_code::attached);
}

void create_root_widget(widget& root, widget_host& window, const rect& area)
{
    root.window_ = &window;
    root.parent_ = nullptr;
    root.name_ = "BaseWidget";
    create_widget(root, {0, 0, area.width, area.height});
    fire_event(root, event_code::attached);
}

void create_widget(widget& w, const rect& area)
{
    w.rect_ = area;
    if (!w.enabled_.own) {
        widget::change_own_flag(w, &widget::enabled_, true);
    }
    if (!w.visible_.own) {
        fire_event(w, event_code::shown);
        widget::change_own_flag(w, &widget::visible_, true);
    }
    if (w.window_ != nullptr) {
        w.window_->add_to_focus_order(w);
    }
    w.created_ = true;
}

void add_child(widget& parent, widget& child)
{
    parent.children_.push_back(&child);  // first, so that a failing append leaves the child as it was
    child.parent_ = &parent;
    propagate_enabled(child, parent.enabled_.own);
    propagate_visible(child, parent.visible_.own);
    fire_event(parent, event_code::child_added, address_value(&child));
}

void remove_child(widget& parent, widget& child)
{
    const auto found = std::find(parent.children_.begin(), parent.children_.end(), &child);
    if (found == parent.children_.end()) {
        return;
    }
    parent.children_.erase(found);
    child.parent_ = nullptr;
    propagate_enabled(child, true);
    propagate_visible(child, true);
    fire_event(parent, event_code::child_removed, address_value(&child));
}

void set_geometry(widget& w, const rect& area)
{
    const rect old = w.rect_;
    w.rect_ = area;
    if (!w.created_) {
        return;
    }
    // Handlers may add or remove children, so the children are walked by index, never by iterator.
    if (area.width != old.width || area.height != old.height) {
        const std::uint64_t previous_size = pack_pair(old.width, old.height);
        fire_event(w, event_code::resized, previous_size);
        for (std::size_t i = 0; i < w.children_.size(); ++i) {
            widget& child = *w.children_[i];
            fire_event(child, event_code::parent_resized, previous_size);
            apply_anchors(child, area.width, area.height);
        }
    }
    if (area.x != old.x || area.y != old.y) {
        const std::uint64_t previous_position = pack_pair(old.x, old.y);
        fire_event(w, event_code::moved, previous_position);
        for (std::size_t i = 0; i < w.children_.size(); ++i) {
            fire_event(*w.children_[i], event_code::parent_moved, previous_position);
        }
    }
    if (area != old) {
        invalidate_area(w, old);
        invalidate_widget(w);
    }
}

void apply_anchors(widget& child, std::int32_t parent_width, std::int32_t parent_height)
{
    rect& r = child.rect_;
    anchor_axis(child.anchors_.left, child.anchors_.right, parent_width, r.x, r.width);
    anchor_axis(child.anchors_.top, child.anchors_.bottom, parent_height, r.y, r.height);
    invalidate_widget(child);
}

void set_enabled(widget& w, bool enabled)
{
    if (enabled != w.enabled_.own) {
        widget::change_own_flag(w, &widget::enabled_, enabled);
    }
}

void set_visible(widget& w, bool visible)
{
    if (visible != w.visible_.own) {
        fire_event(w, visible ? event_code::shown : event_code::hidden);
        widget::change_own_flag(w, &widget::visible_, visible);
    }
}

void propagate_enabled(widget& w, bool effective)
{
    widget::propagate(w, &widget::enabled_, effective);
}

void propagate_visible(widget& w, bool effective)
{
    widget::propagate(w, &widget::visible_, effective);
}

void invalidate_widget(const widget& w)
{
    invalidate_area(w, w.geometry());
}

}  // namespace qxsdk::ui
