#pragma once

#include <cstdint>

#include "hostapi/aegp_types.h"
#include "plugin/host/ae_plugin.h"
#include "plugin/host/frame_target.h"

namespace kyrox {

// The one effect instance, created at global set-up and deleted at global set-down.
class AePluginConnection : public AePlugin {
public:
    void on_global_setup(CommandContext& context) override;
    void on_global_setdown(CommandContext& context) override;
    void setup_params(CommandContext& context) override;
    void update_params_ui(CommandContext& context) override;
    void apply_preset(CommandContext& context) override;
    void render(CommandContext& context) override;
    void pre_render(CommandContext& context, PF_CheckoutResult& result) override;
    void query_dynamic_flags(CommandContext& context) override;
    void handle_event(CommandContext& context) override;
    void render_audio(CommandContext& context) override;

    AEGP_PluginID plugin_id = 0;  // from the host's plug-in registry; passed to registry-bound calls
    FrameTarget target;           // written by each smart render
    void* main_window = nullptr;
    bool render_engine = false;  // the host runs without UI; kept for the record
};

}  // namespace kyrox
