#include "minihost/param_listing.h"

#include <iomanip>

namespace minihost {

namespace {

const char* type_name(PF_ParamType type)
{
    switch (type) {
    case PF_Param_LAYER:
        return "layer";
    case PF_Param_ANGLE:
        return "angle";
    case PF_Param_CHECKBOX:
        return "checkbox";
    case PF_Param_COLOR:
        return "colour";
    case PF_Param_POINT:
        return "point";
    case PF_Param_POPUP:
        return "popup";
    case PF_Param_FLOAT_SLIDER:
        return "float";
    case PF_Param_GROUP_START:
        return "group start";
    case PF_Param_GROUP_END:
        return "group end";
    default:
        return "other";
    }
}

void print_value(std::ostream& out, const PF_ParamDef& p)
{
    const PF_ParamDefUnion& u = p.u;
    switch (p.param_type) {
    case PF_Param_ANGLE:
        out << u.ad.value / 65536.0 << " deg";
        break;
    case PF_Param_CHECKBOX:
        out << (u.bd.value != 0 ? "on" : "off");
        break;
    case PF_Param_COLOR:
        out << "argb " << int{u.cd.value.alpha} << " " << int{u.cd.value.red} << " " << int{u.cd.value.green} << " "
            << int{u.cd.value.blue};
        break;
    case PF_Param_POINT:
        out << u.td.x_value / 65536.0 << ", " << u.td.y_value / 65536.0;
        break;
    case PF_Param_POPUP:
        out << u.pd.value << " of " << u.pd.num_choices << " \"" << (u.pd.u_names != nullptr ? u.pd.u_names : "")
            << "\"";
        break;
    case PF_Param_FLOAT_SLIDER:
        out << u.fs_d.value << " (valid " << u.fs_d.valid_min << ".." << u.fs_d.valid_max << ", slider "
            << u.fs_d.slider_min << ".." << u.fs_d.slider_max << ", precision " << u.fs_d.precision
            << (u.fs_d.display_flags != 0 ? ", percent" : "") << ")";
        break;
    case PF_Param_GROUP_START:
        out << ((p.flags & PF_ParamFlag_START_COLLAPSED) != 0 ? "collapsed" : "open");
        break;
    default:
        break;
    }
}

}  // namespace

void print_params(std::ostream& out, Host& host)
{
    const std::vector<PF_ParamDef>& params = host.params();
    for (std::size_t i = 1; i < params.size(); ++i) {
        const PF_ParamDef& p = params[i];
        out << std::setw(3) << i << "  " << std::setw(4) << host.param_state().id_at(static_cast<PF_ParamIndex>(i))
            << "  " << std::left << std::setw(12) << type_name(p.param_type) << std::setw(26) << p.name << std::right;
        print_value(out, p);
        out << "\n";
    }
}

}  // namespace minihost
