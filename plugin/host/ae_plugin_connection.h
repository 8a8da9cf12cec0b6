#pragma once

#include <cstdint>
#include <vector>

#include "hostapi/aegp_types.h"
#include "hostapi/pf_smart_render.h"
#include "plugin/host/command_context.h"
#include "plugin/render/pixels/color_ramp.h"
#include "plugin/render/render_inputs.h"

namespace kyrox {

// The effect instance as the dispatcher sees it: one operation per host command it answers.
class AePlugin {
public:
    AePlugin() = default;
    AePlugin(const AePlugin&) = delete;
    AePlugin& operator=(const AePlugin&) = delete;
    virtual ~AePlugin() = default;

    virtual void on_global_setup(CommandContext& context) = 0;
    virtual void on_global_setdown(CommandContext& context) = 0;
    virtual void setup_params(CommandContext& context) = 0;
    virtual void update_params_ui(CommandContext& context) = 0;
    virtual void apply_preset(CommandContext& context) = 0;
    virtual void render(CommandContext& context) = 0;
    virtual void pre_render(CommandContext& context, PF_CheckoutResult& result) = 0;
    virtual void query_dynamic_flags(CommandContext& context) = 0;
    virtual void handle_event(CommandContext& context) = 0;
    // Reserved entries of the interface; no command reaches them.
    virtual int spare_query_a() { return 0; }
    virtual void spare_hook() {}
    virtual int spare_query_b() { return 0; }
    virtual int spare_query_c() { return 0; }
    virtual void render_audio(CommandContext& context) = 0;
};

// The one effect instance, created at global set-up and deleted at global set-down. Each operation hands its
// command to the part of the effect that does the work (parameters, presets, smart render).
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
    bool render_engine = false;          // the host runs without UI; kept for the record
    std::vector<ColorRamp> color_ramps;  // the six base ramps, built with the instance
};

}  // namespace kyrox
