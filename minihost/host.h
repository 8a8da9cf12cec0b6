#pragma once

#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "hostapi/effect_api.h"
#include "minihost/call_log.h"
#include "minihost/command_scope.h"
#include "minihost/host_functions.h"
#include "minihost/host_settings.h"
#include "minihost/host_world.h"
#include "minihost/param_state.h"
#include "minihost/scene_model.h"

namespace minihost {

// A small host of the effect interface: it owns the records, callbacks, suites, parameters and
// pixel buffers, sends commands to the plug-in's entry point and records each call it receives.
// Its callbacks and suites reach it, while a command runs, through the scope it makes active.
class Host final : private HostFunctions {
public:
    explicit Host(PF_EntryPointFunc entry);
    ~Host();
    Host(const Host&) = delete;
    Host& operator=(const Host&) = delete;

    PF_Err send(PF_Cmd cmd, void* extra = nullptr);
    PF_Err about() { return send(PF_Cmd_ABOUT); }
    PF_Err global_setup() { return send(PF_Cmd_GLOBAL_SETUP); }
    PF_Err global_setdown() { return send(PF_Cmd_GLOBAL_SETDOWN); }
    PF_Err params_setup();
    PF_Err update_params_ui() { return send(PF_Cmd_UPDATE_PARAMS_UI); }
    PF_Err user_changed_param(PF_ParamIndex index);
    // What the host asks of a pre-render by default: the whole layer, all four channels.
    PF_PreRenderInput pre_render_input(A_short bitdepth) const;
    // output's rectangles go in as the host holds them and come back merged.
    PF_Err smart_pre_render(PF_PreRenderOutput& output, PF_PreRenderInput input);
    PF_Err smart_render(A_short bitdepth);
    // Runs fn as the body of a command, so that host callbacks find this host: for tests and tools
    // that call into the plug-in's internals directly.
    void run_as_command(const std::function<void()>& fn);
    PF_SmartRenderCallbacks* smart_render_callbacks() noexcept { return &smart_render_callbacks_; }

    PF_InData& in_data() noexcept { return in_data_; }
    PF_OutData& out_data() noexcept { return out_data_; }
    CallLog& log() noexcept { return log_; }
    HostSettings& settings() noexcept { return settings_; }

    // The layer the effect is applied to and the output buffer, made anew for a frame size and depth.
    void set_frame(A_long width, A_long height, int bytes_per_channel, A_long row_padding = 0);
    HostWorld& input_layer() noexcept { return input_layer_; }
    HostWorld& output() noexcept { return output_; }
    // Further layers the plug-in checks out at smart render by checkout ID (the world stays the caller's).
    void set_checkout_layer(A_long checkout_id, HostWorld* world);

    // The parameter array; index 0 is the input layer.
    std::vector<PF_ParamDef>& params() noexcept { return params_; }
    ParamState& param_state() noexcept { return param_state_; }
    // The composition around the effect: masks, layers, switches and parameter keyframes.
    SceneModel& scene() noexcept { return scene_; }

    // Offers table as the suite name, version in place of the host's own, as for tests that refuse
    // one of its calls. The table stays the caller's and must outlive the host's use of it.
    void provide_suite(const std::string& name, A_long version, const void* table);
    // A suite the host offers is answered as missing while this is set.
    void set_suite_missing(const std::string& name, A_long version, bool missing = true);
    // Suites acquired and not yet released, counted per acquisition.
    std::size_t outstanding_suites() const;

    std::size_t live_handles() const noexcept { return handles_.size(); }

    // Handles as the plug-in gets them, for tests that hand the plug-in a handle of their own.
    PF_Handle new_handle(A_u_longlong size) override;
    void dispose_handle(PF_Handle handle) override;

private:
    struct HandleBlock {
        void* master = nullptr;
        std::vector<std::uint64_t> bytes;
    };
    struct DefaultSuites;

    void reset_input_layer_param();

    SPErr acquire_suite(const char* name, A_long version, const void** suite) override;
    SPErr release_suite(const char* name, A_long version) override;
    PF_Err add_param(PF_ParamIndex index, const PF_ParamDef& def) override;
    PF_Err checkout_param(PF_ParamIndex index, A_long what_time, A_long time_step, A_u_long time_scale,
                          PF_ParamDef& param) override;
    PF_Err checkin_param(PF_ParamDef& param) override;
    PF_Err platform_data(PF_PlatDataID which, void* data) override;
    PF_Err checkout_layer(PF_ParamIndex index, A_long checkout_id, const PF_RenderRequest& request, A_long what_time,
                          A_long time_step, A_u_long time_scale, PF_CheckoutResult& result) override;
    PF_Err checkout_layer_pixels(A_long checkout_id, PF_EffectWorld*& pixels) override;
    PF_Err checkin_layer_pixels(A_long checkout_id) override;
    PF_Err checkout_output(PF_EffectWorld*& output) override;
    A_Err register_plugin(const char* name, AEGP_PluginID& plugin_id) override;
    PF_Err is_render_engine(PF_Boolean& render_engine) override;

    PF_EntryPointFunc entry_;
    PF_InData in_data_{};
    PF_OutData out_data_{};
    PF_UtilCallbacks utils_{};
    SPBasicSuite basic_suite_{};
    PF_PreRenderCallbacks pre_render_callbacks_{};
    PF_SmartRenderCallbacks smart_render_callbacks_{};
    HostSettings settings_;
    CallLog log_;
    HostWorld input_layer_;
    HostWorld output_;
    std::map<A_long, HostWorld*> checkout_layers_;
    std::vector<PF_ParamDef> params_;
    std::vector<PF_ParamDef*> param_pointers_;
    ParamState param_state_;
    SceneModel scene_;
    std::map<PF_Handle, std::unique_ptr<HandleBlock>> handles_;
    std::unique_ptr<DefaultSuites> default_suites_;
    std::map<std::pair<std::string, A_long>, const void*> suites_;
    std::set<std::pair<std::string, A_long>> missing_suites_;
    std::map<std::pair<std::string, A_long>, std::size_t> acquired_;
    char main_window_marker_ = 0;  // what the main window handle points at
    const CommandScope scope_;     // refers to the members above
};

}  // namespace minihost
