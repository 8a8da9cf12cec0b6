#pragma once

// The effect's parameter entries in registration order: the k-th row becomes host parameter index k
// (index 0 is the input layer the host supplies).
#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "plugin/host/param_ids.h"

namespace kyrox {

enum class ParamKind : std::uint8_t {
    layer,
    angle,
    checkbox,
    colour,
    point,
    popup,
    float_slider,
    group_start,
    group_end,
};

struct ParamEntry {
    std::int32_t id = 0;
    const char* name = nullptr;  // null for a group end
    ParamKind kind = ParamKind::group_end;
    // float slider
    float valid_min = 0;
    float valid_max = 0;
    float default_value = 0;
    std::int16_t precision = 0;
    float slider_fraction = 1;
    bool percent = false;
    // popup
    const char* items = nullptr;
    std::int32_t default_item = 0;
    bool supervised = false;
    // checkbox default, or a group start shown collapsed
    bool on = false;
    // colour
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
    // point, in percent of the layer
    std::int32_t x_percent = 0;
    std::int32_t y_percent = 0;
};

// Flags of table rows, named for readability.
inline constexpr bool row_as_percent = true;
inline constexpr bool row_collapsed = true;
inline constexpr bool row_open = false;
inline constexpr bool row_supervised = true;

constexpr ParamEntry simple_row(ParamKind kind, std::int32_t id, const char* name, bool on = false)
{
    ParamEntry e;
    e.id = id;
    e.name = name;
    e.kind = kind;
    e.on = on;
    return e;
}

constexpr ParamEntry float_row(std::int32_t id, const char* name, float valid_min, float valid_max, float default_value,
                               std::int16_t precision, float slider_fraction, bool shown_as_percent = false)
{
    ParamEntry e = simple_row(ParamKind::float_slider, id, name);
    e.valid_min = valid_min;
    e.valid_max = valid_max;
    e.default_value = default_value;
    e.precision = precision;
    e.slider_fraction = slider_fraction;
    e.percent = shown_as_percent;
    return e;
}

constexpr ParamEntry popup_row(std::int32_t id, const char* name, const char* items, std::int32_t default_item,
                               bool supervise = false)
{
    ParamEntry e = simple_row(ParamKind::popup, id, name);
    e.items = items;
    e.default_item = default_item;
    e.supervised = supervise;
    return e;
}

constexpr ParamEntry checkbox_row(std::int32_t id, const char* name, bool on)
{
    return simple_row(ParamKind::checkbox, id, name, on);
}

constexpr ParamEntry group_start_row(std::int32_t id, const char* name, bool starts_collapsed)
{
    return simple_row(ParamKind::group_start, id, name, starts_collapsed);
}

constexpr ParamEntry group_end_row(std::int32_t id)
{
    return simple_row(ParamKind::group_end, id, nullptr);
}

constexpr ParamEntry colour_row(std::int32_t id, const char* name, std::uint8_t red, std::uint8_t green,
                                std::uint8_t blue)
{
    ParamEntry e = simple_row(ParamKind::colour, id, name);
    e.red = red;
    e.green = green;
    e.blue = blue;
    return e;
}

constexpr ParamEntry point_row(std::int32_t id, const char* name, std::int32_t x_percent, std::int32_t y_percent)
{
    ParamEntry e = simple_row(ParamKind::point, id, name);
    e.x_percent = x_percent;
    e.y_percent = y_percent;
    return e;
}

// Slider range of a float parameter: the valid range scaled by the slider fraction, except that a
// valid minimum of 0 or more is kept as it is.
constexpr float slider_min_of(float valid_min, float slider_fraction)
{
    return valid_min >= 0 ? valid_min : valid_min * slider_fraction;
}

constexpr float slider_max_of(float valid_max, float slider_fraction)
{
    return valid_max * slider_fraction;
}

// Choices of a popup: its items are separated by "|".
constexpr std::int16_t popup_choice_count(std::string_view items)
{
    std::int16_t count = 1;
    for (const char c : items) {
        count = static_cast<std::int16_t>(count + (c == '|' ? 1 : 0));
    }
    return count;
}

inline constexpr const char* preset_items =
    "Select|Default|Arc Reactor|Burning|Cellular|Core|Electric|Energize|Energy|Fire|Firestorm|Fog|Fractal|Fuel|"
    "Fusion|Ghost|GhostBuster|Green Energy|Hard Core|Haze|Heat|Hot|Inferno|Kryptonite|Meteor|Myst|Narrow|"
    "Narrow Bright|Nebula|Neon|Patronus|Portal|Protocol|Proton|Pulse|Replicant|Simple Orange|Soft Smoke|Solar|"
    "Solar Wave|StarKiller|Tesseract|Thin|Torch|Tractor Beam|Velocity|Wavelet|Wide|Windy|Wormhole|Yellow Smoke|"
    "Zap";
inline constexpr const char* noise_type_items = "Smoke|Fluid|Energy";

// clang-format off
inline constexpr std::array<ParamEntry, 93> param_table = {{
    popup_row(param::preset, "Preset", preset_items, 1, row_supervised),
    checkbox_row(param::enable_glow, "Enable Glow", true),
    colour_row(param::glow_color, "Glow Color", 0, 127, 255),  // (0, 0.5, 1) x 255, truncated
    float_row(param::glow_intensity, "Glow Intensity", 0, 500, 50, 1, 0.25f, row_as_percent),
    float_row(param::glow_spread, "Glow Spread", 0, 2, 0.5f, 2, 0.5f),
    float_row(param::glow_bias, "Glow Bias", 0, 5, 0.5f, 2, 0.5f),
    float_row(param::core_size, "Core Size", 0, 200, 3, 2, 0.125f),
    point_row(param::core_start, "Core Start", 50, 85),
    point_row(param::core_end, "Core End", 50, 15),
    group_start_row(param::customize_core_group, "Customize Core", row_collapsed),
    popup_row(param::core_type, "Core Type", "Kyrox|Layer Masks|Text Layer", 1),
    simple_row(ParamKind::layer, param::text_layer, "Text Layer"),
    simple_row(ParamKind::angle, param::mask_evolution, "Mask Evolution"),
    float_row(param::start_size, "Start Size", 0, 200, 100, 0, 1, row_as_percent),
    float_row(param::start_offset, "Start Offset", 0, 100, 0, 0, 1, row_as_percent),
    float_row(param::start_roundness, "Start Roundness", 0, 2, 0.5f, 2, 1),
    float_row(param::end_size, "End Size", 0, 200, 100, 0, 1, row_as_percent),
    float_row(param::end_offset, "End Offset", 0, 100, 100, 0, 1, row_as_percent),
    float_row(param::end_roundness, "End Roundness", 0, 2, 0.5f, 2, 1),
    checkbox_row(param::offset_size, "Offset Size", true),
    float_row(param::halo_intensity, "Halo Intensity", 0, 1000, 100, 0, 0.2f, row_as_percent),
    float_row(param::halo_size, "Halo Size", 0, 1000, 100, 0, 1, row_as_percent),
    float_row(param::core_softness, "Core Softness", 0, 25, 0, 1, 1),
    group_end_row(param::customize_core_end),
    group_start_row(param::flicker_group, "Flicker", row_collapsed),
    float_row(param::flicker_intensity, "Flicker Intensity", 0, 500, 0, 0, 1, row_as_percent),
    float_row(param::flicker_speed, "Flicker Speed", 0, 30, 15, 2, 1),
    checkbox_row(param::mask_randomization, "Mask Randomization", false),
    float_row(param::random_seed, "Random Seed", 0, 100000, 5000, 0, 1),
    group_end_row(param::flicker_end),
    group_start_row(param::distortion_group, "Distortion", row_collapsed),
    group_start_row(param::distortion_group_start, "Glow Distortion", row_collapsed),
    float_row(param::distortion_amount, "Distortion Amount", 0, 200, 0, 1, 1),
    popup_row(param::distortion_type, "Distortion Type", noise_type_items, 1),
    popup_row(param::composite, "Composite", "Distortion|Multiply", 1),
    checkbox_row(param::invert_distortion, "Invert", false),
    float_row(param::wind_speed, "Wind Speed", -200, 200, 1.5f, 2, 0.01f),
    simple_row(ParamKind::angle, param::wind_direction, "Wind Direction Offset"),
    float_row(param::noise_speed, "Noise Speed", 0, 5, 1.5f, 2, 1),
    float_row(param::noise_scale, "Noise Scale", 1, 1000, 150, 1, 1),
    float_row(param::noise_bias, "Noise Bias", 0.1f, 3, 1, 2, 1),
    float_row(param::noise_complexity, "Noise Complexity", 1, 10, 5, 0, 1),
    float_row(param::noise_aspect_ratio, "Noise Aspect Ratio", 0, 10, 1, 2, 1),
    float_row(param::distortion_motion_blur, "Motion Blur", 0, 10, 0, 2, 1),
    float_row(param::distortion_seed, "Random Seed", 0, 100000, 5000, 0, 1),
    checkbox_row(param::lock_to_blade, "Lock Noise to Kyrox", true),
    group_end_row(param::distortion_group_end),
    group_start_row(param::core_distortion(param::distortion_group_start), "Core Distortion", row_collapsed),
    float_row(param::core_distortion(param::distortion_amount), "Distortion Amount", 0, 200, 0, 1, 1),
    popup_row(param::core_distortion(param::distortion_type), "Distortion Type", noise_type_items, 1),
    float_row(param::core_distortion(param::wind_speed), "Wind Speed", -200, 200, 0.5f, 2, 0.01f),
    simple_row(ParamKind::angle, param::core_distortion(param::wind_direction), "Wind Direction Offset"),
    checkbox_row(param::core_distortion(param::invert_distortion), "Invert", false),
    float_row(param::core_distortion(param::noise_speed), "Noise Speed", 0, 5, 1, 2, 1),
    float_row(param::core_distortion(param::noise_scale), "Noise Scale", 1, 1000, 100, 1, 1),
    float_row(param::core_distortion(param::noise_bias), "Noise Bias", 0.1f, 3, 1, 2, 1),
    float_row(param::core_distortion(param::noise_complexity), "Noise Complexity", 1, 10, 3, 0, 1),
    float_row(param::core_distortion(param::noise_aspect_ratio), "Noise Aspect Ratio", 0, 10, 1, 2, 1),
    float_row(param::core_distortion(param::distortion_motion_blur), "Motion Blur", 0, 10, 0, 2, 1),
    float_row(param::core_distortion(param::distortion_seed), "Random Seed", 0, 100000, 5000, 0, 1),
    checkbox_row(param::core_distortion(param::lock_to_blade), "Lock Noise to Kyrox", true),
    checkbox_row(param::blend_on_top, "Blend on Top", true),
    group_end_row(param::core_distortion(param::distortion_group_end)),
    group_end_row(param::distortion_end),
    group_start_row(param::glow_settings_group, "Glow Settings", row_collapsed),
    float_row(param::glow_intensity_multiplier, "Glow Intensity Multiplier", 0, 1000, 67.64f, 2, 0.02f),
    float_row(param::glow_size_multiplier, "Glow Size Multiplier", 0, 1000, 3.07f, 2, 0.01f),
    float_row(param::glow_pre_gamma, "Glow Pre Gamma", 0.1f, 5, 1, 2, 1),
    float_row(param::glow_1_intensity, "Glow 1 Intensity", 0, 100, 2.13f, 2, 0.1f),
    float_row(param::glow_1_size, "Glow 1 Size", 0, 500, 60, 2, 1),
    float_row(param::glow_2_intensity, "Glow 2 Intensity", 0, 100, 0.86f, 2, 0.1f),
    float_row(param::glow_2_size, "Glow 2 Size", 0, 500, 19.9f, 2, 1),
    float_row(param::glow_3_intensity, "Glow 3 Intensity", 0, 100, 0.37f, 2, 0.1f),
    float_row(param::glow_3_size, "Glow 3 Size", 0, 500, 8, 2, 1),
    float_row(param::glow_4_intensity, "Glow 4 Intensity", 0, 100, 0.16f, 2, 0.1f),
    float_row(param::glow_4_size, "Glow 4 Size", 0, 500, 2.9f, 2, 1),
    group_end_row(param::glow_settings_end),
    group_start_row(param::render_settings_group, "Render Settings", row_collapsed),
    group_start_row(param::motion_blur_group, "Motion Blur", row_open),
    popup_row(param::motion_blur, "Motion Blur", "On|Off|Composition", 1),
    float_row(param::motion_blur_multiplier, "Motion Blur Multiplier", 0, 2, 1, 2, 1),
    float_row(param::motion_blur_phase, "Motion Blur Phase", -360, 360, 0, 1, 1),
    float_row(param::motion_blur_clamp, "Motion Blur Clamp", 0, 200, 0, 1, 0.1f),
    group_end_row(param::motion_blur_end),
    float_row(param::gamma, "Gamma", 0.1f, 10, 1, 2, 1),
    float_row(param::brightness, "Brightness", 0, 5, 1, 2, 1),
    float_row(param::saturation, "Saturation", 0, 2, 1.2f, 2, 1),
    float_row(param::alpha_boost, "Alpha Boost", 0, 1, 0, 2, 1),
    popup_row(param::composite_settings, "Composite Settings", "Transparent|Black|Add", 2),
    group_end_row(param::render_settings_end),
    popup_row(param::alpha_mode, "Alpha Mode", "Enable Masks|Mask Core|Mask Glow|Disable", 4),
    checkbox_row(param::invert_masks, "Invert Masks", false),
    checkbox_row(param::use_text_alpha, "Use Text Alpha", true),
}};
// clang-format on

// Position of a parameter ID's row, or param_table.size() when the effect has no such parameter.
constexpr std::size_t param_row_of(std::int32_t id)
{
    std::size_t row = 0;
    while (row < param_table.size() && param_table[row].id != id) {
        ++row;
    }
    return row;
}

// Names must fit the host record's 32-byte name field, terminator included.
constexpr bool names_fit()
{
    for (const ParamEntry& entry : param_table) {
        if (entry.name != nullptr && std::string_view(entry.name).size() > 31) {
            return false;
        }
    }
    return true;
}
static_assert(names_fit());

}  // namespace kyrox
