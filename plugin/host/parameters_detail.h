#pragma once

// The parameters' own bookkeeping, which the rest of the plug-in reaches only through registration and
// param_index_of; the tests set it up and check it directly.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "hostapi/pf_param_def.h"

namespace kyrox {

// Grows the ID table (zero-filled) to hold the ID and stores its index.
void set_param_index(std::int32_t id, PF_ParamIndex index);
// Number of entries: the largest registered ID + 1.
std::size_t param_index_table_size() noexcept;

// Stores a copy of a popup's item text and returns the copy's address, valid until unload.
const char* store_popup_items(std::string_view items);
std::size_t popup_item_count() noexcept;

}  // namespace kyrox
