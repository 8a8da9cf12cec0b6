#pragma once

#include <cstdint>

#include "hostapi/pf_param_def.h"

namespace kyrox {

// Host parameter index of each parameter ID, filled by parameter set-up. IDs never registered map
// to 0, the effect's input layer.
PF_ParamIndex param_index_of(std::int32_t id) noexcept;
void set_param_index(std::int32_t id, PF_ParamIndex index);

}  // namespace kyrox
