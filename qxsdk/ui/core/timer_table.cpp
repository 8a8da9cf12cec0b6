#include "qxsdk/ui/core/timer_table.h"

#include <algorithm>

namespace qxsdk::ui {

std::uint32_t timer_table::add(event_object& owner, std::int32_t key, bool one_shot)
{
    const std::uint32_t id = counter_ + 1;
    timers_.insert_or_assign(id, timer_entry{key, &owner, one_shot});
    counter_ = id;
    return id;
}

std::optional<std::uint32_t> timer_table::find(const event_object& owner, std::int32_t key) const
{
    const auto found = std::find_if(timers_.begin(), timers_.end(), [&](const auto& item) {
        return item.second.owner == &owner && item.second.key == key;
    });
    if (found == timers_.end()) {
        return std::nullopt;
    }
    return found->first;
}

std::optional<std::uint32_t> timer_table::any_of(const event_object& owner) const noexcept
{
    const auto found =
        std::find_if(timers_.begin(), timers_.end(), [&](const auto& item) { return item.second.owner == &owner; });
    if (found == timers_.end()) {
        return std::nullopt;
    }
    return found->first;
}

std::optional<timer_entry> timer_table::at(std::uint32_t id) const
{
    const auto found = timers_.find(id);
    if (found == timers_.end()) {
        return std::nullopt;
    }
    return found->second;
}

void timer_table::remove(std::uint32_t id) noexcept
{
    timers_.erase(id);
}

}  // namespace qxsdk::ui
