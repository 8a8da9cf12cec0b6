#include "minihost/param_state.h"

#include <cstdint>

#include "minihost/suite_traps.h"

namespace minihost {

namespace {

template <class Handle>
Handle token(std::size_t n)
{
    return reinterpret_cast<Handle>(static_cast<std::uintptr_t>(n));
}

}  // namespace

std::size_t param_slot(PF_ParamIndex index)
{
    if (index < 0) {
        host_fault("a negative parameter index");
    }
    return static_cast<std::size_t>(index);
}

void ParamState::added(PF_ParamIndex index, A_long id)
{
    if (param_slot(index) >= ids_.size()) {
        ids_.resize(param_slot(index) + 1, 0);
    }
    ids_[param_slot(index)] = id;
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
    if (param_slot(index) >= stream_hidden_.size()) {
        stream_hidden_.resize(param_slot(index) + 1, false);
    }
    stream_hidden_[param_slot(index)] = hidden;
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

}  // namespace minihost
