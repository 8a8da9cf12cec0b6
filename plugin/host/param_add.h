#pragma once

// Adding parameters to the host during parameter set-up. Each add appends one parameter record and
// stores its host index (the output record's running count) under its ID.
#include <cstdint>
#include <string_view>

#include "plugin/host/command_context.h"

namespace kyrox {

void add_float_param(CommandContext& context, std::int32_t id, const char* name, float valid_min, float valid_max,
                     float default_value, std::int16_t precision, float slider_fraction, bool percent);
void add_popup_param(CommandContext& context, std::int32_t id, const char* name, std::string_view items,
                     std::int32_t default_item, bool supervise);
void add_angle_param(CommandContext& context, std::int32_t id, const char* name);
void add_checkbox_param(CommandContext& context, std::int32_t id, const char* name, bool default_on);
void add_colour_param(CommandContext& context, std::int32_t id, const char* name, std::uint8_t red,
                      std::uint8_t green, std::uint8_t blue);
void add_point_param(CommandContext& context, std::int32_t id, const char* name, std::int32_t x_percent,
                     std::int32_t y_percent);
void add_layer_param(CommandContext& context, std::int32_t id, const char* name);
void add_group_start(CommandContext& context, std::int32_t id, const char* name, bool starts_collapsed);
void add_group_end(CommandContext& context, std::int32_t id);

}  // namespace kyrox
