#pragma once

// The built-in presets: one flat record list per preset, selected by the Preset popup's value.
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "plugin/host/flat_record.h"

namespace kyrox {

// The parameters every preset stores, in record order. The two wind direction angles (89, 1089)
// are stored but not applied.
inline constexpr std::array<std::int32_t, 50> preset_param_ids = {
    99,   3,    4,    73,   123,  5,    122,  34,   35,   36,   37,   38,   39,   40,   41,   61,  62,
    77,   78,   112,  94,   84,   85,   88,   89,   91,   92,   107,  80,   130,  134,  83,   129, 1094,
    1084, 1085, 1088, 1089, 1091, 1092, 1107, 1080, 1134, 1083, 1129, 106,  74,   105,  108,  115,
};

// Each record holds the whole value part of the host's parameter record.
inline constexpr std::size_t preset_record_length = 120;
inline constexpr std::size_t preset_blob_size =
    flat_record_header_size + preset_param_ids.size() * (flat_record_prefix_size + preset_record_length);
static_assert(preset_blob_size == 6408);

inline constexpr std::int32_t first_preset_item = 2;  // item 1 is "Select"
inline constexpr std::int32_t last_preset_item = 52;

// Indexed by the Preset popup value; entries 0 and 1 are empty.
extern const std::array<std::span<const std::uint8_t>, last_preset_item + 1> preset_table;

}  // namespace kyrox
