#pragma once

// The built-in presets: their stored records (flat record lists), the blobs built from the preset
// rows, the reader of such lists and applying one to the parameters.

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>

#include "plugin/host/command_context.h"
#include "plugin/host/param_ids.h"
#include "plugin/platform/mapped_file.h"

namespace kyrox {

// The flat record format of stored parameter values: an 8-byte header ("QXCFH", two zero bytes, the
// format byte 1), then records of parameter ID (u32), value length L (u32) and L value bytes, all
// little-endian. A record with ID 0 or the end of the data ends the list.
inline constexpr std::array<std::uint8_t, 8> flat_record_header = {'Q', 'X', 'C', 'F', 'H', 0, 0, 1};
inline constexpr std::size_t flat_record_header_size = flat_record_header.size();
inline constexpr std::size_t flat_record_prefix_size = 8;  // ID and length

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

bool has_flat_record_header(std::span<const std::uint8_t> data) noexcept;

// The next record's parameter ID, with value and length set; 0 (value null, length 0) when there is
// none. A record that would run past the end of the data ends the list.
std::uint32_t next_flat_record(FlatRecordReader& reader) noexcept;

// Releases an owned mapped file and clears the path.
void close_flat_reader(FlatRecordReader& reader) noexcept;

// The built-in presets: one flat record list per preset, selected by the Preset popup's value.
// The parameters every preset stores, in record order. The two wind direction angles are stored
// but not applied.
// clang-format off
inline constexpr std::array<std::int32_t, 50> preset_param_ids = {
    param::enable_glow, param::glow_color, param::glow_intensity, param::glow_spread, param::glow_bias,
    param::core_size, param::glow_pre_gamma, param::glow_1_size, param::glow_1_intensity, param::glow_2_size,
    param::glow_2_intensity, param::glow_3_size, param::glow_3_intensity, param::glow_4_size,
    param::glow_4_intensity, param::glow_size_multiplier, param::glow_intensity_multiplier,
    param::halo_intensity, param::halo_size, param::core_softness, param::distortion_amount, param::noise_scale,
    param::noise_speed, param::wind_speed, param::wind_direction, param::noise_aspect_ratio,
    param::noise_complexity, param::distortion_motion_blur, param::distortion_type, param::composite,
    param::invert_distortion, param::noise_bias, param::distortion_seed,
    param::core_distortion(param::distortion_amount), param::core_distortion(param::noise_scale),
    param::core_distortion(param::noise_speed), param::core_distortion(param::wind_speed),
    param::core_distortion(param::wind_direction), param::core_distortion(param::noise_aspect_ratio),
    param::core_distortion(param::noise_complexity), param::core_distortion(param::distortion_motion_blur),
    param::core_distortion(param::distortion_type), param::core_distortion(param::invert_distortion),
    param::core_distortion(param::noise_bias), param::core_distortion(param::distortion_seed),
    param::blend_on_top, param::alpha_boost, param::gamma, param::brightness, param::saturation,
};
// clang-format on

// Each record holds the whole value part of the host's parameter record.
inline constexpr std::size_t preset_record_length = 120;
inline constexpr std::size_t preset_blob_size =
    flat_record_header_size + preset_param_ids.size() * (flat_record_prefix_size + preset_record_length);
static_assert(preset_blob_size == 6408);

inline constexpr std::int32_t first_preset_item = 2;  // item 1 is "Select"
inline constexpr std::int32_t last_preset_item = 52;

// Indexed by the Preset popup value; entries 0 and 1 are empty.
extern const std::array<std::span<const std::uint8_t>, last_preset_item + 1> preset_table;

// Copies the values of a flat record list into the command's parameters and marks each one changed.
// Nothing is applied when the header does not match; the list ends at the first record that runs
// past the data, names no parameter of the effect or is too short for its parameter's value.
void apply_preset_blob(CommandContext& context, std::span<const std::uint8_t> blob);

// Applies the built-in preset chosen when the command reports a change of the Preset popup; the popup
// keeps the chosen item.
void apply_chosen_preset(CommandContext& context);

}  // namespace kyrox
