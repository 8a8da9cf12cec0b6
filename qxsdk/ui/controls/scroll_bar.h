#pragma once

#include <cstdint>
#include <memory>

#include "qxsdk/ui/core/event_dispatcher.h"
#include "qxsdk/ui/core/scroll_geometry.h"
#include "qxsdk/ui/core/widget.h"

// Scrolls a content widget larger than its parent by moving it inside that parent: by dragging the thumb,
// pressing the track, clicking the arrows (on release) and by the wheel over the bar or the content. It
// follows every change of the content's size and position and of its parent's size. UI thread only.
namespace qxsdk::ui {

class image;
class renderer;

class ScrollBar : public widget {
public:
    ScrollBar();
    ~ScrollBar() override;

    // Settings for before the bar is attached; a change afterwards lays the bar out again.
    void set_orientation(int orientation);  // a scroll_orientation; other values make the bar inert
    void set_arrows(bool arrows);

    // Scrolls the widget, which moves to its beginning. The bar must be in its window already and must
    // outlive the content and its parent, whose events it keeps listening to.
    void attach(widget* content);

    // Moves the content by delta toward its beginning (negative: toward its end), within its overflow.
    void scroll_by(std::int32_t delta);
    // Scrolls to the offset, snapped down to a multiple of the step unless exact.
    void scroll_to(std::int32_t offset, bool exact);

    // Draws the bar through the draw slots below.
    void paint(renderer& drawing);

    int orientation() const noexcept { return orientation_; }
    bool arrows() const noexcept { return arrows_; }
    std::int32_t step() const noexcept { return step_; }
    const scroll_bar_boxes& boxes() const noexcept { return boxes_; }
    const thumb_metrics& thumb() const noexcept { return thumb_; }
    bool dragging() const noexcept { return dragging_; }
    const image& arrow_image() const noexcept { return *arrow_image_; }

protected:
    // The arrow picture is 8 x 8: up, down, left and right halves of a diamond.
    virtual void draw_arrow(renderer& drawing, const rect& box, bool is_first, image& arrow);
    virtual void draw_thumb(renderer& drawing, const rect& box);
    virtual void draw_track(renderer& drawing, const rect& box);

private:
    void on_attached();
    void layout();
    void recompute();
    void on_mouse_down(const event_info& event);
    void on_mouse_up(const event_info& event);
    void on_mouse_move();
    void on_wheel(const event_info& event);
    void on_parent_resized();
    void end_drag();
    // Moves the content to the position on the axis, its other coordinates unchanged.
    void move_content(std::int32_t position);
    std::int32_t cursor_along() const;

    int orientation_ = scroll_orientation::vertical;
    bool arrows_ = true;
    std::unique_ptr<image> arrow_image_;
    scroll_bar_boxes boxes_;
    bool dragging_ = false;
    std::int32_t drag_anchor_ = 0;  // the press along the axis minus the thumb's travel at the press
    thumb_metrics thumb_;
    std::int32_t step_ = 10;
    widget* content_ = nullptr;
    bool handlers_bound_ = false;
};

}  // namespace qxsdk::ui
