#include "plugin/host/param_add.h"

#include "plugin/host/param_index.h"
#include "plugin/host/param_table.h"
#include "plugin/host/popup_items.h"

namespace kyrox {

namespace {

constexpr PF_Fixed fixed_from_int(std::int32_t value)
{
    return static_cast<PF_Fixed>(static_cast<std::uint32_t>(value) << 16);
}

PF_ParamDef new_param(CommandContext& context, PF_ParamType type, std::int32_t id, const char* name)
{
    PF_ParamDef def{};
    if (name != nullptr) {
        context.in_data->utils->ansi.strcpy(def.name, name);
    }
    def.param_type = type;
    def.uu.id = id;
    return def;
}

// Hands the record to the host and records its index. The host's answer is not looked at: a
// refused parameter still takes its place, so later indices follow registration order.
void append_param(CommandContext& context, PF_ParamDef& def)
{
    const std::int32_t id = def.uu.id;
    context.in_data->inter.add_param(context.in_data->effect_ref, -1, &def);
    context.out_data->num_params += 1;
    set_param_index(id, context.out_data->num_params);
}

}  // namespace

void add_float_param(CommandContext& context, std::int32_t id, const char* name, float valid_min, float valid_max,
                     float default_value, std::int16_t precision, float slider_fraction, bool percent)
{
    PF_ParamDef def = new_param(context, PF_Param_FLOAT_SLIDER, id, name);
    PF_FloatSliderDef& slider = def.u.fs_d;
    slider.value = default_value;
    slider.dephault = default_value;
    slider.valid_min = valid_min;
    slider.valid_max = valid_max;
    slider.slider_min = slider_min_of(valid_min, slider_fraction);
    slider.slider_max = slider_max_of(valid_max, slider_fraction);
    slider.precision = precision;
    slider.display_flags = percent ? PF_ValueDisplayFlag_PERCENT : PF_ValueDisplayFlag_NONE;
    append_param(context, def);
}

void add_popup_param(CommandContext& context, std::int32_t id, const char* name, std::string_view items,
                     std::int32_t default_item, bool supervise)
{
    PF_ParamDef def = new_param(context, PF_Param_POPUP, id, name);
    PF_PopupDef& popup = def.u.pd;
    popup.value = default_item;
    popup.dephault = static_cast<A_short>(default_item);
    popup.num_choices = popup_choice_count(items);
    popup.u_names = store_popup_items(items);
    if (supervise) {
        def.flags = PF_ParamFlag_SUPERVISE;
    }
    append_param(context, def);
}

void add_angle_param(CommandContext& context, std::int32_t id, const char* name)
{
    PF_ParamDef def = new_param(context, PF_Param_ANGLE, id, name);
    def.flags = PF_ParamFlag_COLLAPSE_TWIRLY;
    append_param(context, def);
}

void add_checkbox_param(CommandContext& context, std::int32_t id, const char* name, bool default_on)
{
    PF_ParamDef def = new_param(context, PF_Param_CHECKBOX, id, name);
    def.u.bd.value = default_on ? 1 : 0;
    def.u.bd.dephault = def.u.bd.value;
    def.u.bd.nameptr = "";
    append_param(context, def);
}

void add_colour_param(CommandContext& context, std::int32_t id, const char* name, std::uint8_t red,
                      std::uint8_t green, std::uint8_t blue)
{
    PF_ParamDef def = new_param(context, PF_Param_COLOR, id, name);
    def.u.cd.value = PF_Pixel{255, red, green, blue};
    def.u.cd.dephault = def.u.cd.value;
    append_param(context, def);
}

void add_point_param(CommandContext& context, std::int32_t id, const char* name, std::int32_t x_percent,
                     std::int32_t y_percent)
{
    PF_ParamDef def = new_param(context, PF_Param_POINT, id, name);
    PF_PointDef& point = def.u.td;
    point.x_value = fixed_from_int(x_percent);
    point.y_value = fixed_from_int(y_percent);
    point.x_dephault = point.x_value;
    point.y_dephault = point.y_value;
    point.restrict_bounds = 0;
    append_param(context, def);
}

void add_layer_param(CommandContext& context, std::int32_t id, const char* name)
{
    PF_ParamDef def = new_param(context, PF_Param_LAYER, id, name);
    def.u.ld.dephault = PF_LayerDefault_NONE;
    append_param(context, def);
}

void add_group_start(CommandContext& context, std::int32_t id, const char* name, bool starts_collapsed)
{
    PF_ParamDef def = new_param(context, PF_Param_GROUP_START, id, name);
    def.flags = starts_collapsed ? PF_ParamFlag_START_COLLAPSED : PF_ParamFlag_NONE;
    append_param(context, def);
}

void add_group_end(CommandContext& context, std::int32_t id)
{
    PF_ParamDef def = new_param(context, PF_Param_GROUP_END, id, nullptr);
    append_param(context, def);
}

}  // namespace kyrox
