#include "minihost/command_scope.h"

#include "minihost/suite_traps.h"

namespace minihost {

namespace {

thread_local const CommandScope* active_scope = nullptr;

}  // namespace

ActiveCommand::ActiveCommand(const CommandScope& scope) noexcept : previous_(active_scope)
{
    active_scope = &scope;
}

ActiveCommand::~ActiveCommand()
{
    active_scope = previous_;
}

const CommandScope& current_command()
{
    if (active_scope == nullptr) {
        host_fault("a host callback outside of any command");
    }
    return *active_scope;
}

const CommandScope& current_command_for(PF_ProgPtr effect_ref, const char* what)
{
    const CommandScope& scope = current_command();
    if (effect_ref != scope.in_data.effect_ref) {
        host_fault(what);
    }
    return scope;
}

void check_plugin_id(const CommandScope& scope, AEGP_PluginID plugin_id)
{
    if (plugin_id != scope.settings.plugin_id) {
        host_fault("a registry-bound call with a plug-in ID the host never gave");
    }
}

}  // namespace minihost
