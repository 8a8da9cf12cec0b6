#include "plugin/host/popup_items.h"

#include <memory>
#include <string>
#include <vector>

namespace kyrox {

namespace {

// Each text has its own allocation, so growing the list never moves a text the host points at.
std::vector<std::unique_ptr<const std::string>>& popup_item_strings()
{
    static std::vector<std::unique_ptr<const std::string>> strings;
    return strings;
}

constexpr std::size_t reserved_popup_texts = 200;

}  // namespace

void reserve_popup_item_strings()
{
    auto& strings = popup_item_strings();
    if (strings.capacity() < reserved_popup_texts) {
        strings.reserve(reserved_popup_texts);
    }
}

const char* store_popup_items(std::string_view items)
{
    auto& strings = popup_item_strings();
    strings.push_back(std::make_unique<const std::string>(items));
    return strings.back()->c_str();
}

std::size_t popup_item_count() noexcept
{
    return popup_item_strings().size();
}

}  // namespace kyrox
