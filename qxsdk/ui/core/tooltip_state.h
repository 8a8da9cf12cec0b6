#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "qxsdk/ui/core/widget.h"

// When a window's tooltip shows: per-widget regions, and the time the cursor has rested in one of them,
// advanced by a tick of the tooltip timer.
namespace qxsdk::ui {

struct tooltip_region {
    rect area;  // relative to the widget; the edges belong to it
    std::string title;
    std::string text;
};

class tooltip_state {
public:
    // The window timer id that drives tick.
    static constexpr std::uint32_t timer_id = 0xFFFFFFFF;
    static constexpr float tick_seconds = 0.1f;
    static constexpr float show_after_seconds = 0.75f;
    static constexpr float hide_after_seconds = 6.0f;

    enum class action { none, show, hide };

    struct decision {
        action what = action::none;
        const tooltip_region* region = nullptr;  // the region to show, for action::show
    };

    void add_region(const widget& w, tooltip_region region);
    void forget_widget(const widget& w) noexcept;

    // One tick: hovered is the widget the cursor was last over, cursor its position relative to that widget,
    // shown whether the tooltip is showing now.
    decision tick(const widget* hovered, point cursor, bool shown);

    float elapsed() const noexcept { return elapsed_; }

private:
    std::unordered_map<const widget*, std::vector<tooltip_region>> regions_{8};
    float elapsed_ = 0.0f;
    const widget* widget_ = nullptr;
    rect region_;
};

}  // namespace qxsdk::ui
