#include "plugin/host/presets.h"

#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstring>
#include <string_view>

#include "hostapi/pf_param_def.h"
#include "plugin/host/param_reading.h"
#include "plugin/host/param_ids.h"
#include "plugin/host/param_table.h"
#include "plugin/host/parameters.h"
#include "plugin/host/preset_values.h"
#include "plugin/host/presets_detail.h"

namespace kyrox {

namespace {

constexpr std::size_t flat_record_header_size = flat_record_header.size();
constexpr std::size_t flat_record_prefix_size = 8;  // ID and length

bool has_flat_record_header(std::span<const std::uint8_t> data) noexcept
{
    return data.data() != nullptr && data.size() >= flat_record_header_size &&
           std::ranges::equal(data.first(flat_record_header_size), flat_record_header);
}

std::uint32_t load_u32(const std::uint8_t* p) noexcept
{
    return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
           static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

void take_header_step(FlatRecordReader& reader) noexcept
{
    reader.header_step_taken = true;
    reader.offset = 0;
    switch (reader.mode) {
    case FlatRecordMode::measure:
        reader.header_done = true;
        break;
    case FlatRecordMode::write:
        if (reader.output.data() != nullptr && reader.output.size() >= flat_record_header_size) {
            std::ranges::copy(flat_record_header, reader.output.begin());
            reader.header_done = true;
        }
        break;
    case FlatRecordMode::read:
        reader.header_done = has_flat_record_header(reader.buffer);
        break;
    }
    if (reader.header_done) {
        reader.offset = flat_record_header_size;
    }
}

}  // namespace

std::uint32_t next_flat_record(FlatRecordReader& reader) noexcept
{
    if (!reader.header_step_taken) {
        take_header_step(reader);
    }
    reader.value = nullptr;
    reader.length = 0;
    const std::uint64_t size = reader.buffer.size();
    if (reader.mode != FlatRecordMode::read || !reader.header_done || reader.buffer.data() == nullptr ||
        reader.offset >= size) {
        return 0;
    }
    const std::uint64_t room = size - reader.offset;
    const std::uint8_t* record = reader.buffer.data() + reader.offset;
    if (room < flat_record_prefix_size || room - flat_record_prefix_size < load_u32(record + 4)) {
        reader.offset = size;  // a truncated record ends the list
        return 0;
    }
    const std::uint32_t id = load_u32(record);
    if (id == 0) {
        return 0;
    }
    reader.length = load_u32(record + 4);
    reader.value = record + flat_record_prefix_size;
    reader.offset += flat_record_prefix_size + reader.length;
    return id;
}

void close_flat_reader(FlatRecordReader& reader) noexcept
{
    reader.mapped.reset();
    reader.path.clear();
}

namespace {

// The parameters every preset stores, in record order. The two wind direction angles are stored
// but not applied.
// clang-format off
constexpr std::array<std::int32_t, 50> preset_param_ids = {
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
constexpr std::size_t preset_record_length = 120;
constexpr std::size_t preset_blob_size =
    flat_record_header_size + preset_param_ids.size() * (flat_record_prefix_size + preset_record_length);
static_assert(preset_blob_size == 6408);

// Builds the preset blobs from the preset rows at compile time: each stored value is laid out as
// the host's parameter record holds it in its value part.
using Blob = std::array<std::uint8_t, preset_blob_size>;

class BlobWriter {
public:
    explicit constexpr BlobWriter(Blob& blob) : blob_(blob) {}

    constexpr void u8(std::size_t at, std::uint8_t v) { blob_[at] = v; }
    constexpr void u16(std::size_t at, std::uint16_t v)
    {
        u8(at, static_cast<std::uint8_t>(v));
        u8(at + 1, static_cast<std::uint8_t>(v >> 8));
    }
    constexpr void u32(std::size_t at, std::uint32_t v)
    {
        u16(at, static_cast<std::uint16_t>(v));
        u16(at + 2, static_cast<std::uint16_t>(v >> 16));
    }
    constexpr void u64(std::size_t at, std::uint64_t v)
    {
        u32(at, static_cast<std::uint32_t>(v));
        u32(at + 4, static_cast<std::uint32_t>(v >> 32));
    }
    constexpr void i32(std::size_t at, std::int32_t v) { u32(at, static_cast<std::uint32_t>(v)); }
    constexpr void i16(std::size_t at, std::int16_t v) { u16(at, static_cast<std::uint16_t>(v)); }
    constexpr void f32(std::size_t at, float v) { u32(at, std::bit_cast<std::uint32_t>(v)); }
    constexpr void f64(std::size_t at, double v) { u64(at, std::bit_cast<std::uint64_t>(v)); }
    constexpr void pixel(std::size_t at, PF_Pixel p)
    {
        u8(at + offsetof(PF_Pixel, alpha), p.alpha);
        u8(at + offsetof(PF_Pixel, red), p.red);
        u8(at + offsetof(PF_Pixel, green), p.green);
        u8(at + offsetof(PF_Pixel, blue), p.blue);
    }

private:
    Blob& blob_;
};

constexpr std::size_t value_offset(std::size_t slot)
{
    return flat_record_header_size + slot * (flat_record_prefix_size + preset_record_length) + flat_record_prefix_size;
}

constexpr void write_value(BlobWriter& out, std::size_t at, const ParamEntry& entry, const presets::PresetValue& stored)
{
    const double number = stored.number;
    switch (entry.kind) {
    case ParamKind::checkbox:
        out.i32(at + offsetof(PF_CheckBoxDef, value), static_cast<std::int32_t>(number));
        out.i32(at + offsetof(PF_CheckBoxDef, dephault), entry.on ? 1 : 0);
        break;
    case ParamKind::colour:
        out.pixel(at + offsetof(PF_ColorDef, value), {255, stored.colour.red, stored.colour.green, stored.colour.blue});
        out.pixel(at + offsetof(PF_ColorDef, dephault), {255, entry.red, entry.green, entry.blue});
        break;
    case ParamKind::popup:
        out.i32(at + offsetof(PF_PopupDef, value), static_cast<std::int32_t>(number));
        out.i16(at + offsetof(PF_PopupDef, num_choices), popup_choice_count(entry.items));
        out.i16(at + offsetof(PF_PopupDef, dephault), static_cast<std::int16_t>(entry.default_item));
        break;
    case ParamKind::angle:
        out.i32(at + offsetof(PF_AngleDef, value), static_cast<std::int32_t>(number * 65536.0));
        break;
    case ParamKind::float_slider:
        out.f64(at + offsetof(PF_FloatSliderDef, value), number);
        out.f32(at + offsetof(PF_FloatSliderDef, valid_min), entry.valid_min);
        out.f32(at + offsetof(PF_FloatSliderDef, valid_max), entry.valid_max);
        out.f32(at + offsetof(PF_FloatSliderDef, slider_min), slider_min_of(entry.valid_min, entry.slider_fraction));
        out.f32(at + offsetof(PF_FloatSliderDef, slider_max), slider_max_of(entry.valid_max, entry.slider_fraction));
        out.f64(at + offsetof(PF_FloatSliderDef, dephault), entry.default_value);
        out.i16(at + offsetof(PF_FloatSliderDef, precision), entry.precision);
        out.i16(at + offsetof(PF_FloatSliderDef, display_flags),
                entry.percent ? PF_ValueDisplayFlag_PERCENT : PF_ValueDisplayFlag_NONE);
        break;
    default:
        break;
    }
}

constexpr Blob make_blob(const presets::PresetRow& row)
{
    Blob blob{};
    BlobWriter out(blob);
    for (std::size_t i = 0; i < flat_record_header_size; ++i) {
        out.u8(i, flat_record_header[i]);
    }
    for (std::size_t slot = 0; slot < preset_param_ids.size(); ++slot) {
        const std::int32_t id = preset_param_ids[slot];
        const std::size_t at = value_offset(slot);
        out.i32(at - flat_record_prefix_size, id);
        out.u32(at - 4, preset_record_length);
        write_value(out, at, param_table[param_row_of(id)], row.values[slot]);
    }
    return blob;
}

constexpr std::array<Blob, presets::preset_rows.size()> make_blobs()
{
    std::array<Blob, presets::preset_rows.size()> blobs{};
    for (std::size_t i = 0; i < blobs.size(); ++i) {
        blobs[i] = make_blob(presets::preset_rows[i]);
    }
    return blobs;
}

// Every stored ID must name a parameter of the effect.
constexpr bool stored_ids_known()
{
    for (const std::int32_t id : preset_param_ids) {
        if (param_row_of(id) == param_table.size()) {
            return false;
        }
    }
    return true;
}
static_assert(stored_ids_known());

// Every stored value must lie in its parameter's valid range.
constexpr bool value_in_range(const ParamEntry& entry, double number)
{
    switch (entry.kind) {
    case ParamKind::checkbox:
        return number == 0 || number == 1;
    case ParamKind::popup:
        return number >= 1 && number <= popup_choice_count(entry.items);
    case ParamKind::angle:
        return number >= -360 && number <= 360;
    case ParamKind::float_slider:
        return number >= entry.valid_min && number <= entry.valid_max;
    default:
        return true;
    }
}

constexpr bool stored_values_in_range()
{
    for (const presets::PresetRow& row : presets::preset_rows) {
        for (std::size_t slot = 0; slot < preset_param_ids.size(); ++slot) {
            if (!value_in_range(param_table[param_row_of(preset_param_ids[slot])], row.values[slot].number)) {
                return false;
            }
        }
    }
    return true;
}
static_assert(stored_values_in_range());
static_assert(presets::preset_rows.size() == last_preset_item - first_preset_item + 1);

constexpr std::array<Blob, presets::preset_rows.size()> preset_blobs = make_blobs();

constexpr std::array<std::span<const std::uint8_t>, last_preset_item + 1> make_table()
{
    std::array<std::span<const std::uint8_t>, last_preset_item + 1> table{};
    for (std::size_t i = 0; i < preset_blobs.size(); ++i) {
        table[first_preset_item + i] = preset_blobs[i];
    }
    return table;
}

}  // namespace

const std::array<std::span<const std::uint8_t>, last_preset_item + 1> preset_table = make_table();

namespace {

// Bytes of a stored value that land in the parameter: the value field at the start of its record.
std::size_t applied_bytes(PF_ParamType type)
{
    switch (type) {
    case PF_Param_CHECKBOX:
    case PF_Param_COLOR:
    case PF_Param_POPUP:
        return 4;
    case PF_Param_FLOAT_SLIDER:
        return sizeof(PF_FpLong);
    default:
        return 0;
    }
}

}  // namespace

void apply_preset_blob(CommandContext& context, std::span<const std::uint8_t> blob)
{
    FlatRecordReader reader;
    reader.mode = FlatRecordMode::read;
    reader.buffer = blob;
    reader.header_step_taken = true;
    if (has_flat_record_header(blob)) {
        reader.offset = flat_record_header_size;
        reader.header_done = true;
    }
    // A record for a parameter the effect does not have, or too short for its value, ends the list:
    // the data is not what this effect wrote.
    while (const std::uint32_t id = next_flat_record(reader)) {
        const PF_ParamIndex index = param_index_of(static_cast<std::int32_t>(id));
        if (index <= 0) {
            break;
        }
        PF_ParamDef& param = *context.params[index];
        const std::size_t bytes = applied_bytes(param.param_type);
        if (reader.length < bytes) {
            break;
        }
        std::memcpy(&param.u, reader.value, bytes);
        param.uu.change_flags = PF_ChangeFlag_CHANGED_VALUE;
    }
    close_flat_reader(reader);
}

void apply_chosen_preset(CommandContext& context)
{
    reserve_popup_item_strings();
    const auto* extra = static_cast<const PF_UserChangedParamExtra*>(context.extra);
    const PF_ParamIndex preset_index = param_index_of(param::preset);
    if (extra == nullptr || preset_index == 0 || extra->param_index != preset_index) {
        return;
    }
    const std::int32_t item = get_popup_param(context, param::preset);
    if (item < first_preset_item || item > last_preset_item) {
        return;
    }
    apply_preset_blob(context, preset_table[static_cast<std::size_t>(item)]);
}

}  // namespace kyrox
