#pragma once

#include <vector>

#include "hostapi/effect_api.h"
#include "minihost/call_log.h"
#include "minihost/host_functions.h"
#include "minihost/host_settings.h"
#include "minihost/param_state.h"
#include "minihost/scene_model.h"

namespace minihost {

// What the host's callbacks and suites reach of it while one of its commands runs: the records they
// check calls against, the state they read and change, and the host functions they forward to. A
// callback without context finds it through current_command().
struct CommandScope {
    const PF_InData& in_data;
    const HostSettings& settings;
    CallLog& log;
    std::vector<PF_ParamDef>& params;  // index 0 is the input layer
    ParamState& param_state;
    SceneModel& scene;
    HostFunctions& functions;
};

// Makes a scope the one its thread's callbacks find for as long as this lives (one command), then
// gives the enclosing one back.
class ActiveCommand {
public:
    explicit ActiveCommand(const CommandScope& scope) noexcept;
    ~ActiveCommand();
    ActiveCommand(const ActiveCommand&) = delete;
    ActiveCommand& operator=(const ActiveCommand&) = delete;

private:
    const CommandScope* previous_;
};

// The scope of the command running on this thread; a host fault outside any command.
const CommandScope& current_command();
// The same for a callback that carries an effect reference: a foreign reference is a plug-in fault,
// reported with what.
const CommandScope& current_command_for(PF_ProgPtr effect_ref, const char* what);

// A registry-bound call must name the plug-in ID the host gave at registration.
void check_plugin_id(const CommandScope& scope, AEGP_PluginID plugin_id);

}  // namespace minihost
