#pragma once

#include <cstddef>
#include <cstdint>

#include "hostapi/pf_param_def.h"

namespace kyrox {

// Host parameter index of each parameter ID, filled by parameter set-up. IDs never registered map
// to 0, the effect's input layer.
PF_ParamIndex param_index_of(std::int32_t id) noexcept;
// Grows the table (zero-filled) to hold the ID and stores its index.
void set_param_index(std::int32_t id, PF_ParamIndex index);
// Empties the table; parameter set-up refills it.
void clear_param_indices() noexcept;
// Number of entries: the largest registered ID + 1.
std::size_t param_index_table_size() noexcept;

}  // namespace kyrox
