#include "plugin/host/preset_apply.h"

#include <cstring>

#include "plugin/host/ae_plugin_connection.h"
#include "plugin/host/flat_record.h"
#include "plugin/host/param_index.h"
#include "plugin/host/param_readers.h"
#include "plugin/host/param_table.h"
#include "plugin/host/popup_items.h"
#include "plugin/host/preset_table.h"

namespace kyrox {

namespace {

// Bytes of a stored value that land in the parameter: the value field at the start of its record.
std::size_t applied_bytes(PF_ParamType type)
{
    switch (type) {
    case PF_Param_CHECKBOX:
    case PF_Param_COLOR:
    case PF_Param_POPUP:
        return 4;
    case PF_Param_FLOAT_SLIDER:
        return sizeof(PF_FpLong);
    default:
        return 0;
    }
}

}  // namespace

void apply_preset_blob(CommandContext& context, std::span<const std::uint8_t> blob)
{
    FlatRecordReader reader;
    reader.mode = FlatRecordMode::read;
    reader.buffer = blob;
    reader.header_step_taken = true;
    if (has_flat_record_header(blob)) {
        reader.offset = flat_record_header_size;
        reader.header_done = true;
    }
    // A record for a parameter the effect does not have, or too short for its value, ends the list:
    // the data is not what this effect wrote.
    while (const std::uint32_t id = next_flat_record(reader)) {
        const PF_ParamIndex index = param_index_of(static_cast<std::int32_t>(id));
        if (index <= 0) {
            break;
        }
        PF_ParamDef& param = *context.params[index];
        const std::size_t bytes = applied_bytes(param.param_type);
        if (reader.length < bytes) {
            break;
        }
        std::memcpy(&param.u, reader.value, bytes);
        param.uu.change_flags = PF_ChangeFlag_CHANGED_VALUE;
    }
    close_flat_reader(reader);
}

// Applies a built-in preset when the Preset popup changed. The popup keeps the chosen item.
void AePluginConnection::apply_preset(CommandContext& context)
{
    reserve_popup_item_strings();
    const auto* extra = static_cast<const PF_UserChangedParamExtra*>(context.extra);
    const PF_ParamIndex preset_index = param_index_of(param_id::preset);
    if (extra == nullptr || preset_index == 0 || extra->param_index != preset_index) {
        return;
    }
    const std::int32_t item = get_popup_param(context, param_id::preset);
    if (item < first_preset_item || item > last_preset_item) {
        return;
    }
    apply_preset_blob(context, preset_table[static_cast<std::size_t>(item)]);
}

}  // namespace kyrox
