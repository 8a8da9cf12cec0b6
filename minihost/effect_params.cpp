#include "minihost/effect_params.h"

#include <algorithm>

#include "minihost/suite_traps.h"

namespace minihost {

namespace {

constexpr A_long preset_id = 114;

}  // namespace

bool has_param(Host& host, A_long id)
{
    const PF_ParamIndex index = host.param_state().index_of(id);
    return index >= 0 && param_slot(index) < host.params().size();
}

PF_ParamDef& param_by_id(Host& host, A_long id)
{
    if (!has_param(host, id)) {
        host_fault("no parameter with that ID");
    }
    return host.params()[param_slot(host.param_state().index_of(id))];
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

}  // namespace minihost
