#include "plugin/host/ae_plugin_connection.h"

namespace kyrox {

// Commands the effect answers without doing anything.
void AePluginConnection::on_global_setup(CommandContext&) {}
void AePluginConnection::on_global_setdown(CommandContext&) {}
void AePluginConnection::query_dynamic_flags(CommandContext&) {}
void AePluginConnection::handle_event(CommandContext&) {}
void AePluginConnection::render_audio(CommandContext&) {}

}  // namespace kyrox
