#include "plugin/host/ae_plugin_connection.h"

namespace kyrox {

// Registers the effect's parameters.
void AePluginConnection::setup_params(CommandContext&) {}

}  // namespace kyrox
