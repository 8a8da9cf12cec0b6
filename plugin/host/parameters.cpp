#include "plugin/host/parameters.h"

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "plugin/host/param_ids.h"
#include "plugin/host/parameters_detail.h"
#include "plugin/host/param_reading.h"
#include "plugin/host/param_table.h"

namespace kyrox {

namespace {

std::vector<std::int32_t>& index_table()
{
    static std::vector<std::int32_t> table;
    return table;
}

// Empties the table; parameter set-up refills it.
void clear_param_indices() noexcept
{
    index_table().clear();
}

}  // namespace

PF_ParamIndex param_index_of(std::int32_t id) noexcept
{
    const std::vector<std::int32_t>& table = index_table();
    return id >= 0 && static_cast<std::size_t>(id) < table.size() ? table[static_cast<std::size_t>(id)] : 0;
}

void set_param_index(std::int32_t id, PF_ParamIndex index)
{
    if (id < 0) {
        return;
    }
    std::vector<std::int32_t>& table = index_table();
    if (static_cast<std::size_t>(id) >= table.size()) {
        table.resize(static_cast<std::size_t>(id) + 1, 0);
    }
    table[static_cast<std::size_t>(id)] = index;
}

std::size_t param_index_table_size() noexcept
{
    return index_table().size();
}

namespace {

// Each text has its own allocation, so growing the list never moves a text the host points at.
std::vector<std::unique_ptr<const std::string>>& popup_item_strings()
{
    static std::vector<std::unique_ptr<const std::string>> strings;
    return strings;
}

constexpr std::size_t reserved_popup_texts = 200;

}  // namespace

void reserve_popup_item_strings()
{
    auto& strings = popup_item_strings();
    if (strings.capacity() < reserved_popup_texts) {
        strings.reserve(reserved_popup_texts);
    }
}

const char* store_popup_items(std::string_view items)
{
    auto& strings = popup_item_strings();
    strings.push_back(std::make_unique<const std::string>(items));
    return strings.back()->c_str();
}

std::size_t popup_item_count() noexcept
{
    return popup_item_strings().size();
}

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

void add_colour_param(CommandContext& context, std::int32_t id, const char* name, std::uint8_t red, std::uint8_t green,
                      std::uint8_t blue)
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

namespace {

void add_entry(CommandContext& context, const ParamEntry& e)
{
    switch (e.kind) {
    case ParamKind::layer:
        add_layer_param(context, e.id, e.name);
        break;
    case ParamKind::angle:
        add_angle_param(context, e.id, e.name);
        break;
    case ParamKind::checkbox:
        add_checkbox_param(context, e.id, e.name, e.on);
        break;
    case ParamKind::colour:
        add_colour_param(context, e.id, e.name, e.red, e.green, e.blue);
        break;
    case ParamKind::point:
        add_point_param(context, e.id, e.name, e.x_percent, e.y_percent);
        break;
    case ParamKind::popup:
        add_popup_param(context, e.id, e.name, e.items, e.default_item, e.supervised);
        break;
    case ParamKind::float_slider:
        add_float_param(context, e.id, e.name, e.valid_min, e.valid_max, e.default_value, e.precision,
                        e.slider_fraction, e.percent);
        break;
    case ParamKind::group_start:
        add_group_start(context, e.id, e.name, e.on);
        break;
    case ParamKind::group_end:
        add_group_end(context, e.id);
        break;
    }
}

}  // namespace

void register_params(CommandContext& context)
{
    reserve_popup_item_strings();
    clear_param_indices();
    for (const ParamEntry& entry : param_table) {
        add_entry(context, entry);
    }
}

namespace {

void update_param_ui(VisibilityContext& context, const PF_ParamUtilsSuite& utils, PF_ParamIndex index, bool hide)
{
    PF_ParamDef copy = *context.command.params[index];
    copy.flags = PF_ParamFlag_COLLAPSE_TWIRLY;
    copy.ui_flags = hide ? PF_PUI_INVISIBLE : PF_PUI_NONE;
    utils.PF_UpdateParamUI(context.command.in_data->effect_ref, index, &copy);
}

void set_stream_hidden(VisibilityContext& context, PF_ParamIndex index, bool hide)
{
    const AEGP_StreamSuite* streams = context.suites.stream();
    const AEGP_DynamicStreamSuite* dynamic = context.suites.dynamic_stream();
    if (context.effect == nullptr || streams == nullptr || dynamic == nullptr) {
        return;
    }
    AEGP_StreamRefH stream = nullptr;
    streams->AEGP_GetNewEffectStreamByIndex(context.plugin_id, context.effect, index, &stream);
    dynamic->AEGP_SetDynamicStreamFlag(stream, AEGP_DynStreamFlag_HIDDEN, 0, hide ? 1 : 0);
    streams->AEGP_DisposeStream(stream);
}

}  // namespace

void set_param_hidden(VisibilityContext& context, std::int16_t id, bool hide)
{
    const PF_ParamIndex index = param_index_of(id);
    if (const PF_ParamUtilsSuite* utils = context.suites.param_utils()) {
        update_param_ui(context, *utils, index, hide);
    } else {
        set_stream_hidden(context, index, hide);
    }
}

namespace {

// The effect handle of one update, disposed when the update ends.
class EffectHandle {
public:
    EffectHandle(suite_handler& suites, AEGP_PluginID plugin_id, PF_ProgPtr effect_ref) : suites_(suites)
    {
        if (const AEGP_PFInterfaceSuite* pf_interface = suites_.pf_interface()) {
            pf_interface->AEGP_GetNewEffectForEffect(plugin_id, effect_ref, &handle_);
        }
    }
    ~EffectHandle()
    {
        if (handle_ == nullptr) {
            return;
        }
        if (const AEGP_EffectSuite* effects = suites_.effect_1()) {
            effects->AEGP_DisposeEffect(handle_);
        }
    }
    EffectHandle(const EffectHandle&) = delete;
    EffectHandle& operator=(const EffectHandle&) = delete;

    AEGP_EffectRefH get() const noexcept { return handle_; }

private:
    suite_handler& suites_;
    AEGP_EffectRefH handle_ = nullptr;
};

}  // namespace

void update_param_visibility(CommandContext& context, AEGP_PluginID plugin_id)
{
    reserve_popup_item_strings();
    suite_handler suites(context.in_data->pica_basicP);
    const EffectHandle effect(suites, plugin_id, context.in_data->effect_ref);
    VisibilityContext visibility{suites, plugin_id, effect.get(), context};

    const auto core_type = static_cast<CoreType>(get_popup_param(context, param::core_type));
    set_param_hidden(visibility, param::core_start, core_type != CoreType::blade);
    set_param_hidden(visibility, param::core_end, core_type != CoreType::blade);
    set_param_hidden(visibility, param::mask_evolution, core_type == CoreType::blade);
    set_param_hidden(visibility, param::text_layer, core_type != CoreType::text);
    set_param_hidden(visibility, param::use_text_alpha, core_type != CoreType::text);
}

}  // namespace kyrox
