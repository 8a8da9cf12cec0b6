#include "qxsdk/ui/core/tooltip_state.h"

#include <algorithm>
#include <utility>

namespace qxsdk::ui {

namespace {

bool contains_inclusive(const rect& area, point p) noexcept
{
    return area.x <= p.x && p.x <= area.x + area.width && area.y <= p.y && p.y <= area.y + area.height;
}

}  // namespace

void tooltip_state::add_region(const widget& w, tooltip_region region)
{
    regions_[&w].push_back(std::move(region));
}

void tooltip_state::forget_widget(const widget& w) noexcept
{
    regions_.erase(&w);
    if (widget_ == &w) {
        widget_ = nullptr;
    }
}

tooltip_state::decision tooltip_state::tick(const widget* hovered, point cursor, bool shown)
{
    decision result;
    if (hovered != widget_) {
        elapsed_ = 0.0f;
        widget_ = hovered;
        result.what = action::hide;
    } else if (const auto found = regions_.find(hovered); found != regions_.end() && !found->second.empty()) {
        const std::vector<tooltip_region>& regions = found->second;
        const auto under = std::find_if(regions.begin(), regions.end(),
                                        [&](const tooltip_region& r) { return contains_inclusive(r.area, cursor); });
        if (under == regions.end()) {
            elapsed_ = 0.0f;
            region_ = regions.back().area;
            result.what = action::hide;
        } else if (under->area == region_) {
            if (elapsed_ > show_after_seconds && elapsed_ < hide_after_seconds && !shown) {
                result = {action::show, &*under};
            } else if (elapsed_ >= hide_after_seconds) {
                result.what = action::hide;
            }
        } else {
            elapsed_ = 0.0f;
            region_ = under->area;
            result.what = action::hide;
        }
    }
    elapsed_ += tick_seconds;
    return result;
}

}  // namespace qxsdk::ui
