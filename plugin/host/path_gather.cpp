#include "plugin/host/path_gather.h"

#include <cmath>

#include "plugin/host/param_reading.h"
#include "plugin/host/path_fetch.h"
#include "plugin/host/path_window.h"
#include "plugin/host/param_ids.h"

namespace kyrox {

namespace {

PathSource path_source(const CommandContext& context, suite_handler& suites)
{
    const PF_InData& in_data = *context.in_data;
    PathSource source;
    source.comp_time = {in_data.current_time, in_data.time_scale};
    const AEGP_PFInterfaceSuite* pf = suites.pf_interface();
    if (pf == nullptr) {
        return source;
    }
    pf->AEGP_GetEffectLayer(in_data.effect_ref, &source.layer);
    if (const AEGP_LayerSuite* layers = suites.layer_11(); layers != nullptr && source.layer != nullptr) {
        layers->AEGP_GetLayerParentComp(source.layer, &source.comp);
    }
    pf->AEGP_ConvertEffectToCompTime(in_data.effect_ref, in_data.current_time, in_data.time_scale, &source.comp_time);
    return source;
}

// Roundness below 0.03 (or NaN) is raised to 0.03, then squared.
float cap_factor(float roundness) noexcept
{
    return std::pow(roundness > 0.03f ? roundness : 0.03f, 2.0f);
}

PathWindow path_window(const CommandContext& context, const SceneRecord& scene)
{
    PathWindow window;
    window.start_offset = scene.start_offset;
    window.end_offset = scene.end_offset;
    window.evolution = std::fmod(get_angle_param(context, param::mask_evolution) * 0.15915494f, 1.0f);
    window.start_half_width = get_float_param(context, param::start_size) * 0.01f * scene.core_size;
    window.end_half_width = get_float_param(context, param::end_size) * 0.01f * scene.core_size;
    window.start_cap = cap_factor(get_float_param(context, param::start_roundness)) * scene.core_size;
    window.end_cap = cap_factor(get_float_param(context, param::end_roundness)) * scene.core_size;
    window.offset_size = get_checkbox_param(context, param::offset_size);
    return window;
}

}  // namespace

void gather_paths(const AePluginConnection& instance, const CommandContext& context, SceneRecord& scene)
{
    std::vector<FetchedPath> paths;
    {
        suite_handler suites(context.in_data->pica_basicP);
        const PathSource source = path_source(context, suites);
        paths = static_cast<CoreType>(get_popup_param(context, param::core_type)) == CoreType::text
                    ? fetch_text_paths(instance, context, suites, source)
                    : fetch_mask_paths(instance, suites, source);
    }
    const float d = ratio_fraction(context.in_data->downsample_x.num, context.in_data->downsample_x.den);
    const PathWindow window = path_window(context, scene);
    for (const FetchedPath& path : paths) {
        const std::vector<FlatPoint> points = flatten_path(path.vertices, path.closed, d);
        cut_path_pieces(points, window, scene.paths);
    }
}

}  // namespace kyrox
