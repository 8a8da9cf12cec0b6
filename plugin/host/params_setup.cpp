#include "plugin/host/ae_plugin_connection.h"
#include "plugin/host/param_add.h"
#include "plugin/host/param_index.h"
#include "plugin/host/param_table.h"
#include "plugin/host/popup_items.h"

namespace kyrox {

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

// Registers the effect's parameters in table order; the ID table is written anew each time.
void AePluginConnection::setup_params(CommandContext& context)
{
    reserve_popup_item_strings();
    clear_param_indices();
    for (const ParamEntry& entry : param_table) {
        add_entry(context, entry);
    }
}

}  // namespace kyrox
