#pragma once

// What a stored record list should do to the effect's parameters, read from the record format's own
// description and not through the plug-in's reader, so that a fault in that reader shows as a
// difference between the two.

#include <cstdint>
#include <span>
#include <vector>

#include "minihost/param_state.h"

namespace kyrox::fuzz {

// One record as the list lays it out: parameter ID and value bytes.
struct StoredRecord {
    std::uint32_t id = 0;
    std::span<const std::uint8_t> value;
};

// The records of a list, in order: none unless it starts with "QXCFH", two zero bytes and the format
// byte 1; then records back to back until one with ID 0, the end of the bytes, or a record whose prefix
// or value would run past the end.
std::vector<StoredRecord> stored_records(std::span<const std::uint8_t> list);

// The host's parameter array after applying the records to it: each record names a parameter by ID and
// marks it changed; a checkbox or popup takes the record's first 4 bytes as its i32 value, a colour
// takes them as alpha, red, green, blue, a float slider takes the first 8 as its double, and any other
// parameter (angles among them) keeps its value. A record naming no parameter, or too short for its
// parameter's value, ends the list: such data is not what the effect wrote, and the effect stops there.
std::vector<PF_ParamDef> params_after(std::span<const StoredRecord> records, std::vector<PF_ParamDef> params,
                                      const minihost::ParamState& state);

}  // namespace kyrox::fuzz
