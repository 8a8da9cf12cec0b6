#pragma once

#include <string>

#include "plugin/host/command_context.h"

namespace kyrox {

// "v1.0.39".
std::string version_text();

// Appends the About text (name, version, web address, rights) to the host's return message.
void about_text(CommandContext& context);

}  // namespace kyrox
