#pragma once

#include <cstddef>
#include <map>
#include <set>
#include <vector>

#include "hostapi/effect_api.h"

namespace minihost {

// One PF_UpdateParamUI call as the host received it.
struct UiUpdate {
    PF_ParamIndex index;
    PF_ParamFlags flags;
    PF_ParamUIFlags ui_flags;
};

// What the host keeps about the effect's parameters beyond the parameter array: the ID of each
// index (the array's ID field doubles as the change flags), the changes of the last user-changed
// command, the visibility the plug-in set, and the effect handles and streams it holds.
class ParamState {
public:
    void added(PF_ParamIndex index, A_long id);
    // -1 when no parameter has the ID.
    PF_ParamIndex index_of(A_long id) const noexcept;
    A_long id_at(PF_ParamIndex index) const noexcept;

    // Around a user-changed command: the plug-in finds the change flags cleared and the host takes
    // the ones it set, then gives each record its ID back.
    void clear_change_flags(std::vector<PF_ParamDef>& params) const;
    void collect_changes(std::vector<PF_ParamDef>& params);
    bool changed(PF_ParamIndex index) const noexcept;
    std::size_t changed_count() const noexcept;

    // Hidden through the dynamic stream flag.
    bool stream_hidden(PF_ParamIndex index) const noexcept;
    void set_stream_hidden(PF_ParamIndex index, bool hidden);

    AEGP_EffectRefH new_effect();
    void dispose_effect(AEGP_EffectRefH effect);
    bool effect_open(AEGP_EffectRefH effect) const { return open_effects_.contains(effect); }
    std::size_t open_effects() const noexcept { return open_effects_.size(); }

    AEGP_StreamRefH new_stream(PF_ParamIndex index);
    // The parameter index a stream was made for.
    PF_ParamIndex stream_param(AEGP_StreamRefH stream) const;
    void dispose_stream(AEGP_StreamRefH stream);
    std::size_t open_streams() const noexcept { return streams_.size(); }

    std::vector<UiUpdate> ui_updates;

private:
    std::vector<A_long> ids_;
    std::vector<bool> changed_;
    std::vector<bool> stream_hidden_;
    std::set<AEGP_EffectRefH> open_effects_;
    std::map<AEGP_StreamRefH, PF_ParamIndex> streams_;
    std::size_t next_token_ = 1;
};

// The position of a host index in the parameter array; a host fault for a negative index.
std::size_t param_slot(PF_ParamIndex index);

}  // namespace minihost
