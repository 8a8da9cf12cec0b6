#pragma once

#include <cstddef>
#include <string_view>

namespace kyrox {

// The item texts of popups, kept for the host, which holds on to the pointers it is given. The list
// lives until unload and is never trimmed.

// Makes room for 200 texts when the list has room for fewer.
void reserve_popup_item_strings();
// Stores a copy of the text and returns the copy's address, valid until unload.
const char* store_popup_items(std::string_view items);
std::size_t popup_item_count() noexcept;

}  // namespace kyrox
