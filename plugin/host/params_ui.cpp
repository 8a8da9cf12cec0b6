#include "plugin/host/ae_plugin_connection.h"

namespace kyrox {

// Shows and hides parameters by the chosen core type.
void AePluginConnection::update_params_ui(CommandContext&) {}

}  // namespace kyrox
