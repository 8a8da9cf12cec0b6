#include "plugin/host/ae_plugin_connection.h"

#include "plugin/host/parameters.h"
#include "plugin/host/presets.h"
#include "plugin/host/smart_render.h"
#include "plugin/render/render_frame.h"

namespace kyrox {

void AePluginConnection::setup_params(CommandContext& context)
{
    register_params(context);
}

void AePluginConnection::update_params_ui(CommandContext& context)
{
    update_param_visibility(context, plugin_id);
}

void AePluginConnection::apply_preset(CommandContext& context)
{
    apply_chosen_preset(context);
}

void AePluginConnection::render(CommandContext& context)
{
    render_frame_timed(*this, context);
}

void AePluginConnection::pre_render(CommandContext& context, PF_CheckoutResult& result)
{
    request_render_layers(context, result);
}

// The frames' kept buffers go with the effect: a host that keeps the plug-in loaded after setting it
// down gets its memory back.
void AePluginConnection::on_global_setdown(CommandContext&)
{
    release_kept_frame_buffers();
}

// Commands the effect answers without doing anything.
void AePluginConnection::on_global_setup(CommandContext&) {}
void AePluginConnection::query_dynamic_flags(CommandContext&) {}
void AePluginConnection::handle_event(CommandContext&) {}
void AePluginConnection::render_audio(CommandContext&) {}

}  // namespace kyrox
