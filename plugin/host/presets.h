#pragma once

// The built-in presets: their stored records (flat record lists), the blobs built from the preset
// rows, the reader of such lists and applying one to the parameters.

#include <array>
#include <cstdint>
#include <memory>
#include <span>
#include <string>

#include "plugin/host/command_context.h"
#include "plugin/platform/mapped_file.h"

namespace kyrox {

// The flat record format of stored parameter values: an 8-byte header ("QXCFH", two zero bytes, the
// format byte 1), then records of parameter ID (u32), value length L (u32) and L value bytes, all
// little-endian. A record with ID 0 or the end of the data ends the list.
inline constexpr std::array<std::uint8_t, 8> flat_record_header = {'Q', 'X', 'C', 'F', 'H', 0, 0, 1};

enum class FlatRecordMode : std::int32_t {
    read = 0,
    write = 1,
    measure = 2,
};

// A cursor over one record list.
struct FlatRecordReader {
    std::wstring path;  // empty for data in memory
    FlatRecordMode mode = FlatRecordMode::read;
    bool header_done = false;
    bool header_step_taken = false;        // set by the first call, or by a caller that checked the header
    std::span<const std::uint8_t> buffer;  // read mode
    std::span<std::uint8_t> output;        // write mode
    const std::uint8_t* value = nullptr;   // the current record's value
    std::uint64_t offset = 0;
    std::uint32_t length = 0;                      // the current record's value length
    std::unique_ptr<platform::MappedFile> mapped;  // when the records come from a file it owns
};

// The next record's parameter ID, with value and length set; 0 (value null, length 0) when there is
// none. A record that would run past the end of the data ends the list.
std::uint32_t next_flat_record(FlatRecordReader& reader) noexcept;

// Releases an owned mapped file and clears the path.
void close_flat_reader(FlatRecordReader& reader) noexcept;

// The built-in presets: one flat record list per preset, selected by the Preset popup's value.
inline constexpr std::int32_t first_preset_item = 2;  // item 1 is "Select"
inline constexpr std::int32_t last_preset_item = 52;

// Indexed by the Preset popup value; entries 0 and 1 are empty.
extern const std::array<std::span<const std::uint8_t>, last_preset_item + 1> preset_table;

// Applies the built-in preset chosen when the command reports a change of the Preset popup; the popup
// keeps the chosen item.
void apply_chosen_preset(CommandContext& context);

}  // namespace kyrox
