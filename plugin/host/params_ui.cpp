#include "plugin/host/ae_plugin_connection.h"
#include "plugin/host/param_readers.h"
#include "plugin/host/param_table.h"
#include "plugin/host/param_visibility.h"
#include "plugin/host/popup_items.h"

namespace kyrox {

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

// Core Type items: a straight blade between the two points, the layer's masks, a text layer.
enum CoreType : std::int32_t {
    core_straight = 1,
    core_masks = 2,
    core_text = 3,
};

}  // namespace

// Shows and hides the parameters that matter only for some core types.
void AePluginConnection::update_params_ui(CommandContext& context)
{
    reserve_popup_item_strings();
    suite_handler suites(context.in_data->pica_basicP);
    const EffectHandle effect(suites, plugin_id, context.in_data->effect_ref);
    VisibilityContext visibility{suites, plugin_id, effect.get(), context};

    const std::int32_t core_type = get_popup_param(context, param_id::core_type);
    set_param_hidden(visibility, param_id::core_start, core_type != core_straight);
    set_param_hidden(visibility, param_id::core_end, core_type != core_straight);
    set_param_hidden(visibility, param_id::mask_evolution, core_type == core_straight);
    set_param_hidden(visibility, param_id::text_layer, core_type != core_text);
    set_param_hidden(visibility, param_id::use_text_alpha, core_type != core_text);
}

}  // namespace kyrox
