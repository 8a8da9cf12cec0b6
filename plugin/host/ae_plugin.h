#pragma once

#include "hostapi/pf_smart_render.h"
#include "plugin/host/command_context.h"

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

}  // namespace kyrox
