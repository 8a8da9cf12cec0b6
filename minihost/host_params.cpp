#include "minihost/host.h"

namespace minihost {

PF_Err Host::add_param(PF_ParamIndex index, const PF_ParamDef& def)
{
    log_.calls.emplace_back("add_param");
    log_.added_params.push_back({index, def});
    if (index == -1 || index == static_cast<PF_ParamIndex>(params_.size())) {
        params_.push_back(def);
        param_state_.added(static_cast<PF_ParamIndex>(params_.size() - 1), def.uu.id);
        return PF_Err_NONE;
    }
    return PF_Err_INVALID_INDEX;
}

PF_Err Host::checkout_param(PF_ParamIndex index, A_long what_time, A_long time_step, A_u_long time_scale,
                            PF_ParamDef& param)
{
    log_.calls.emplace_back("checkout_param");
    log_.param_checkouts.push_back({index, what_time, time_step, time_scale});
    if (index < 0 || static_cast<std::size_t>(index) >= params_.size()) {
        return PF_Err_INVALID_INDEX;
    }
    param = params_[static_cast<std::size_t>(index)];
    scene_.animate(index, what_time, param);
    return PF_Err_NONE;
}

PF_Err Host::checkin_param(PF_ParamDef& param)
{
    log_.calls.emplace_back("checkin_param");
    log_.param_checkins.push_back(param.uu.id);
    return PF_Err_NONE;
}

}  // namespace minihost
