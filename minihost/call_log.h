#pragma once

#include <string>
#include <vector>

#include "hostapi/effect_api.h"

namespace minihost {

// What the host received from the plug-in, in order, so tests can assert calls and their values.
struct SuiteCall {
    enum class Kind { acquire, release };
    Kind kind;
    std::string name;
    A_long version;
    bool operator==(const SuiteCall&) const = default;
};

struct AddedParam {
    PF_ParamIndex index;  // as the plug-in passed it; -1 appends
    PF_ParamDef def;
};

struct ParamCheckout {
    PF_ParamIndex index;
    A_long what_time;
    A_long time_step;
    A_u_long time_scale;
};

struct LayerCheckout {
    PF_ParamIndex index;
    A_long checkout_id;
    PF_RenderRequest request;
    A_long what_time;
    A_long time_step;
    A_u_long time_scale;
};

struct CallLog {
    std::vector<std::string> calls;  // every host function the plug-in called, by name
    std::vector<SuiteCall> suites;
    std::vector<AddedParam> added_params;
    std::vector<ParamCheckout> param_checkouts;
    std::vector<PF_ParamIndex> param_checkins;
    std::vector<LayerCheckout> layer_checkouts;  // smart pre-render inputs
    std::vector<A_long> pixel_checkouts;         // smart render: checkout IDs, -1 for the output
    std::vector<std::string> registrations;      // plug-in names registered with the host

    // Empties every list and keeps its storage, so that a log cleared before each frame of a long
    // sequence allocates nothing once the first frame has sized it.
    void clear() noexcept
    {
        calls.clear();
        suites.clear();
        added_params.clear();
        param_checkouts.clear();
        param_checkins.clear();
        layer_checkouts.clear();
        pixel_checkouts.clear();
        registrations.clear();
    }
};

}  // namespace minihost
