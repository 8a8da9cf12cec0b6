#include "plugin/host/about_text.h"

#include <algorithm>
#include <cstring>
#include <sstream>

#include "plugin/host/effect_identity.h"

namespace kyrox {

std::string version_text()
{
    std::ostringstream text;
    text << "v" << version_major << "." << version_minor << "." << version_build;
    return text.str();
}

void about_text(CommandContext& context)
{
    std::ostringstream text;
    text << effect_name << " " << version_text() << "\n\n"
         << "www.ostrivale.com"
         << "\n\n"
         << "Copyright (c) Ostrivale. All rights reserved.";
    const std::string about = text.str();

    // The message is a fixed 256-byte field: append what fits and keep it terminated.
    char* message = context.out_data->return_msg;
    const std::size_t capacity = sizeof(context.out_data->return_msg);
    const void* end = std::memchr(message, '\0', capacity - 1);
    const std::size_t used = end != nullptr ? static_cast<std::size_t>(static_cast<const char*>(end) - message)
                                            : capacity - 1;
    const std::size_t count = std::min(about.size(), capacity - 1 - used);
    std::memcpy(message + used, about.data(), count);
    message[used + count] = '\0';
}

}  // namespace kyrox
