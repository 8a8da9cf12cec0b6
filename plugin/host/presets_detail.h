#pragma once

// Applying a record list, which the plug-in does only for the chosen built-in preset; the tests feed
// it lists of their own.

#include <cstdint>
#include <span>

#include "plugin/host/command_context.h"

namespace kyrox {

// Copies the values of a flat record list into the command's parameters and marks each one changed.
// Nothing is applied when the header does not match; the list ends at the first record that runs
// past the data, names no parameter of the effect or is too short for its parameter's value.
void apply_preset_blob(CommandContext& context, std::span<const std::uint8_t> blob);

}  // namespace kyrox
