#include "minihost/param_state.h"

#include <algorithm>
#include <cstdint>
#include <string>

#include "minihost/host.h"

namespace minihost {

namespace {

std::size_t slot(PF_ParamIndex index)
{
    if (index < 0) {
        host_fault("a negative parameter index");
    }
    return static_cast<std::size_t>(index);
}

template <class Handle>
Handle token(std::size_t n)
{
    return reinterpret_cast<Handle>(static_cast<std::uintptr_t>(n));
}

Host& host_of(PF_ProgPtr effect_ref)
{
    Host& host = Host::current();
    if (effect_ref != host.in_data().effect_ref) {
        host_fault("a parameter call with a foreign effect reference");
    }
    return host;
}

void check_plugin_id(Host& host, AEGP_PluginID plugin_id)
{
    if (plugin_id != host.settings().plugin_id) {
        host_fault("a registry-bound call with a plug-in ID the host never gave");
    }
}

A_Err get_new_effect_for_effect(AEGP_PluginID plugin_id, PF_ProgPtr effect_ref, AEGP_EffectRefH* effect)
{
    Host& host = host_of(effect_ref);
    check_plugin_id(host, plugin_id);
    host.log().calls.emplace_back("AEGP_GetNewEffectForEffect");
    *effect = host.param_state().new_effect();
    return PF_Err_NONE;
}

A_Err dispose_effect(AEGP_EffectRefH effect)
{
    Host& host = Host::current();
    host.log().calls.emplace_back("AEGP_DisposeEffect");
    host.param_state().dispose_effect(effect);
    return PF_Err_NONE;
}

PF_Err update_param_ui(PF_ProgPtr effect_ref, PF_ParamIndex index, const PF_ParamDef* def)
{
    Host& host = host_of(effect_ref);
    host.log().calls.emplace_back("PF_UpdateParamUI");
    if (index <= 0 || slot(index) >= host.params().size()) {
        return PF_Err_INVALID_INDEX;
    }
    PF_ParamDef& param = host.params()[slot(index)];
    param.flags = def->flags;
    param.ui_flags = def->ui_flags;
    host.param_state().ui_updates.push_back({index, def->flags, def->ui_flags});
    return PF_Err_NONE;
}

A_Err get_new_effect_stream_by_index(AEGP_PluginID plugin_id, AEGP_EffectRefH effect, PF_ParamIndex index,
                                     AEGP_StreamRefH* stream)
{
    Host& host = Host::current();
    check_plugin_id(host, plugin_id);
    host.log().calls.emplace_back("AEGP_GetNewEffectStreamByIndex");
    if (!host.param_state().effect_open(effect)) {
        host_fault("a stream of an effect handle the host never gave");
    }
    if (index < 0 || slot(index) >= host.params().size()) {
        *stream = nullptr;
        return PF_Err_INVALID_INDEX;
    }
    *stream = host.param_state().new_stream(index);
    return PF_Err_NONE;
}

A_Err dispose_stream(AEGP_StreamRefH stream)
{
    Host& host = Host::current();
    host.log().calls.emplace_back("AEGP_DisposeStream");
    host.param_state().dispose_stream(stream);
    return PF_Err_NONE;
}

A_Err set_dynamic_stream_flag(AEGP_StreamRefH stream, AEGP_DynStreamFlags flag, A_Boolean, A_Boolean set)
{
    Host& host = Host::current();
    host.log().calls.emplace_back("AEGP_SetDynamicStreamFlag");
    const PF_ParamIndex index = host.param_state().stream_param(stream);
    if (flag == AEGP_DynStreamFlag_HIDDEN) {
        host.param_state().set_stream_hidden(index, set != 0);
    }
    return PF_Err_NONE;
}

constexpr A_long preset_id = 114;

}  // namespace

void ParamState::added(PF_ParamIndex index, A_long id)
{
    if (slot(index) >= ids_.size()) {
        ids_.resize(slot(index) + 1, 0);
    }
    ids_[slot(index)] = id;
}

PF_ParamIndex ParamState::index_of(A_long id) const noexcept
{
    for (std::size_t i = 1; i < ids_.size(); ++i) {
        if (ids_[i] == id) {
            return static_cast<PF_ParamIndex>(i);
        }
    }
    return -1;
}

A_long ParamState::id_at(PF_ParamIndex index) const noexcept
{
    return index > 0 && static_cast<std::size_t>(index) < ids_.size() ? ids_[static_cast<std::size_t>(index)] : 0;
}

void ParamState::clear_change_flags(std::vector<PF_ParamDef>& params) const
{
    for (PF_ParamDef& param : params) {
        param.uu.change_flags = PF_ChangeFlag_NONE;
    }
}

void ParamState::collect_changes(std::vector<PF_ParamDef>& params)
{
    changed_.assign(params.size(), false);
    for (std::size_t i = 0; i < params.size(); ++i) {
        changed_[i] = (params[i].uu.change_flags & PF_ChangeFlag_CHANGED_VALUE) != 0;
        params[i].uu.id = id_at(static_cast<PF_ParamIndex>(i));
    }
}

bool ParamState::changed(PF_ParamIndex index) const noexcept
{
    return index >= 0 && static_cast<std::size_t>(index) < changed_.size() && changed_[static_cast<std::size_t>(index)];
}

std::size_t ParamState::changed_count() const noexcept
{
    std::size_t count = 0;
    for (const bool c : changed_) {
        count += c ? 1 : 0;
    }
    return count;
}

bool ParamState::stream_hidden(PF_ParamIndex index) const noexcept
{
    return index >= 0 && static_cast<std::size_t>(index) < stream_hidden_.size() &&
           stream_hidden_[static_cast<std::size_t>(index)];
}

void ParamState::set_stream_hidden(PF_ParamIndex index, bool hidden)
{
    if (slot(index) >= stream_hidden_.size()) {
        stream_hidden_.resize(slot(index) + 1, false);
    }
    stream_hidden_[slot(index)] = hidden;
}

AEGP_EffectRefH ParamState::new_effect()
{
    const auto effect = token<AEGP_EffectRefH>(next_token_++);
    open_effects_.insert(effect);
    return effect;
}

void ParamState::dispose_effect(AEGP_EffectRefH effect)
{
    if (open_effects_.erase(effect) == 0) {
        host_fault("AEGP_DisposeEffect of a handle that is not open");
    }
}

AEGP_StreamRefH ParamState::new_stream(PF_ParamIndex index)
{
    const auto stream = token<AEGP_StreamRefH>(next_token_++);
    streams_[stream] = index;
    return stream;
}

PF_ParamIndex ParamState::stream_param(AEGP_StreamRefH stream) const
{
    const auto found = streams_.find(stream);
    if (found == streams_.end()) {
        host_fault("a stream that is not open");
    }
    return found->second;
}

void ParamState::dispose_stream(AEGP_StreamRefH stream)
{
    if (streams_.erase(stream) == 0) {
        host_fault("AEGP_DisposeStream of a stream that is not open");
    }
}

bool has_param(Host& host, A_long id)
{
    const PF_ParamIndex index = host.param_state().index_of(id);
    return index >= 0 && slot(index) < host.params().size();
}

PF_ParamDef& param_by_id(Host& host, A_long id)
{
    if (!has_param(host, id)) {
        host_fault("no parameter with that ID");
    }
    return host.params()[slot(host.param_state().index_of(id))];
}

bool choose_preset(Host& host, std::string_view name, PF_Err& error)
{
    PF_ParamDef& popup = param_by_id(host, preset_id);
    std::string_view items = popup.u.pd.u_names != nullptr ? popup.u.pd.u_names : "";
    for (A_long item = 1;; ++item) {
        const std::size_t bar = items.find('|');
        if (items.substr(0, bar) == name) {
            popup.u.pd.value = item;
            error = host.user_changed_param(host.param_state().index_of(preset_id));
            return true;
        }
        if (bar == std::string_view::npos) {
            return false;
        }
        items.remove_prefix(bar + 1);
    }
}

std::vector<std::string> preset_names(Host& host)
{
    const PF_ParamDef& popup = param_by_id(host, preset_id);
    const std::string_view items = popup.u.pd.u_names != nullptr ? popup.u.pd.u_names : "";
    std::vector<std::string> names;
    for (std::size_t start = items.find('|') + 1; start != 0 && start <= items.size();) {
        const std::size_t bar = std::min(items.find('|', start), items.size());
        names.emplace_back(items.substr(start, bar - start));
        start = bar + 1;
    }
    return names;
}

AEGP_PFInterfaceSuite with_effect_handles(AEGP_PFInterfaceSuite suite)
{
    suite.AEGP_GetNewEffectForEffect = &get_new_effect_for_effect;
    return suite;
}

AEGP_EffectSuite with_effect_disposal(AEGP_EffectSuite suite)
{
    suite.AEGP_DisposeEffect = &dispose_effect;
    return suite;
}

PF_ParamUtilsSuite with_param_ui_updates(PF_ParamUtilsSuite suite)
{
    suite.PF_UpdateParamUI = &update_param_ui;
    return suite;
}

AEGP_StreamSuite with_effect_streams(AEGP_StreamSuite suite)
{
    suite.AEGP_GetNewEffectStreamByIndex = &get_new_effect_stream_by_index;
    suite.AEGP_DisposeStream = &dispose_stream;
    return suite;
}

AEGP_DynamicStreamSuite with_stream_flags(AEGP_DynamicStreamSuite suite)
{
    suite.AEGP_SetDynamicStreamFlag = &set_dynamic_stream_flag;
    return suite;
}

}  // namespace minihost
