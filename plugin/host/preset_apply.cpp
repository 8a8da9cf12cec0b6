#include "plugin/host/ae_plugin_connection.h"

namespace kyrox {

// Applies a built-in preset when the Preset popup changed.
void AePluginConnection::apply_preset(CommandContext&) {}

}  // namespace kyrox
