#include "minihost/scene_suites.h"

#include <cstddef>

#include "minihost/command_scope.h"
#include "minihost/suite_traps.h"

namespace minihost {

namespace {

const CommandScope& scope_of(PF_ProgPtr effect_ref)
{
    return current_command_for(effect_ref, "a scene call with a foreign effect reference");
}

const CommandScope& logged(const char* function)
{
    const CommandScope& scope = current_command();
    scope.log.calls.emplace_back(function);
    return scope;
}

A_Err get_effect_layer(PF_ProgPtr effect_ref, AEGP_LayerH* layer)
{
    const CommandScope& scope = scope_of(effect_ref);
    scope.log.calls.emplace_back("AEGP_GetEffectLayer");
    *layer = scope.scene.effect_layer();
    return PF_Err_NONE;
}

A_Err convert_effect_to_comp_time(PF_ProgPtr effect_ref, A_long what_time, A_u_long time_scale, A_Time* comp_time)
{
    const CommandScope& scope = scope_of(effect_ref);
    scope.log.calls.emplace_back("AEGP_ConvertEffectToCompTime");
    *comp_time = {what_time + scope.scene.layer_start, time_scale};
    return PF_Err_NONE;
}

A_Err get_layer_parent_comp(AEGP_LayerH layer, AEGP_CompH* comp)
{
    const CommandScope& scope = logged("AEGP_GetLayerParentComp");
    SceneModel& scene = scope.scene;
    if (layer != scene.effect_layer() && scene.comp_layer(layer) == nullptr) {
        host_fault("AEGP_GetLayerParentComp of a layer the host never gave");
    }
    *comp = scene.comp();
    return PF_Err_NONE;
}

A_Err get_layer_flags(AEGP_LayerH layer, AEGP_LayerFlags* flags)
{
    const CommandScope& scope = logged("AEGP_GetLayerFlags");
    SceneModel& scene = scope.scene;
    if (layer == scene.effect_layer()) {
        *flags = scene.layer_flags;
    } else if (scene.comp_layer(layer) != nullptr) {
        *flags = AEGP_LayerFlag_NONE;
    } else {
        host_fault("AEGP_GetLayerFlags of a layer the host never gave");
    }
    return PF_Err_NONE;
}

A_Err get_layer_from_layer_id(AEGP_CompH comp, AEGP_LayerIDVal id, AEGP_LayerH* layer)
{
    const CommandScope& scope = logged("AEGP_GetLayerFromLayerID");
    SceneModel& scene = scope.scene;
    if (comp != scene.comp()) {
        host_fault("AEGP_GetLayerFromLayerID in a composition the host never gave");
    }
    const CompLayer* found = scene.layer_by_id(id);
    *layer = found != nullptr ? scene.layer_handle(*found) : nullptr;
    return found != nullptr ? PF_Err_NONE : PF_Err_INVALID_INDEX;
}

CompLayer& comp_layer_of(SceneModel& scene, AEGP_LayerH layer, const char* function)
{
    CompLayer* found = scene.comp_layer(layer);
    if (found == nullptr) {
        host_fault(function);
    }
    return *found;
}

A_Err get_layer_object_type(AEGP_LayerH layer, AEGP_ObjectType* type)
{
    const CommandScope& scope = logged("AEGP_GetLayerObjectType");
    if (layer == scope.scene.effect_layer()) {
        *type = AEGP_ObjectType_NONE;
        return PF_Err_NONE;
    }
    *type = comp_layer_of(scope.scene, layer, "AEGP_GetLayerObjectType of a layer the host never gave").type;
    return PF_Err_NONE;
}

A_Err get_layer_source_item(AEGP_LayerH layer, AEGP_ItemH* item)
{
    const CommandScope& scope = logged("AEGP_GetLayerSourceItem");
    SceneModel& scene = scope.scene;
    const CompLayer& found = comp_layer_of(scene, layer, "AEGP_GetLayerSourceItem of a layer the host never gave");
    *item = found.has_source ? scene.source_item(found) : nullptr;
    return PF_Err_NONE;
}

void check_comp(SceneModel& scene, AEGP_CompH comp, const char* what)
{
    if (comp != scene.comp()) {
        host_fault(what);
    }
}

A_Err get_item_from_comp(AEGP_CompH comp, AEGP_ItemH* item)
{
    const CommandScope& scope = logged("AEGP_GetItemFromComp");
    check_comp(scope.scene, comp, "AEGP_GetItemFromComp of a composition the host never gave");
    *item = scope.scene.comp_item();
    return PF_Err_NONE;
}

A_Err get_comp_flags(AEGP_CompH comp, AEGP_CompFlags* flags)
{
    const CommandScope& scope = logged("AEGP_GetCompFlags");
    check_comp(scope.scene, comp, "AEGP_GetCompFlags of a composition the host never gave");
    *flags = scope.scene.comp_flags;
    return PF_Err_NONE;
}

A_Err get_comp_shutter_angle_phase(AEGP_CompH comp, A_Ratio* angle, A_Ratio* phase)
{
    const CommandScope& scope = logged("AEGP_GetCompShutterAnglePhase");
    check_comp(scope.scene, comp, "AEGP_GetCompShutterAnglePhase of a composition the host never gave");
    *angle = scope.scene.shutter_angle;
    *phase = scope.scene.shutter_phase;
    return PF_Err_NONE;
}

A_Err get_item_pixel_aspect_ratio(AEGP_ItemH item, A_Ratio* pixel_aspect)
{
    const CommandScope& scope = logged("AEGP_GetItemPixelAspectRatio");
    if (!scope.scene.item_pixel_aspect(item, *pixel_aspect)) {
        host_fault("AEGP_GetItemPixelAspectRatio of an item the host never gave");
    }
    return PF_Err_NONE;
}

A_Err get_new_mask_stream(AEGP_PluginID plugin_id, AEGP_MaskRefH mask, AEGP_MaskStream which, AEGP_StreamRefH* stream)
{
    const CommandScope& scope = logged("AEGP_GetNewMaskStream");
    check_plugin_id(scope, plugin_id);
    const std::size_t index = scope.scene.mask_index(mask);
    if (which != AEGP_MaskStream_OUTLINE) {
        *stream = nullptr;
        return PF_Err_INVALID_INDEX;
    }
    // Mask streams share the parameter streams' accounting, so one disposal serves both.
    *stream = scope.param_state.new_stream(-1);
    scope.scene.add_mask_stream(*stream, index);
    return PF_Err_NONE;
}

A_Err get_new_stream_value(AEGP_PluginID plugin_id, AEGP_StreamRefH stream, AEGP_LTimeMode time_mode,
                           const A_Time* time, A_Boolean, AEGP_StreamValue2* value)
{
    const CommandScope& scope = logged("AEGP_GetNewStreamValue");
    check_plugin_id(scope, plugin_id);
    if (time_mode != AEGP_LTimeMode_CompTime) {
        host_fault("a stream value at a layer time; this host answers composition times only");
    }
    SceneModel& scene = scope.scene;
    const PF_ParamIndex param = scope.param_state.stream_param(stream);
    *value = AEGP_StreamValue2{};
    value->streamH = stream;
    std::size_t mask = 0;
    if (scene.mask_of_stream(stream, mask)) {
        value->val.mask = scene.new_outline_value(scene.masks.at(mask).at(time->value - scene.layer_start));
    } else {
        const PF_ParamDef& def = scope.params.at(static_cast<std::size_t>(param));
        if (def.param_type != PF_Param_LAYER) {
            host_fault("a stream value of a parameter kind this host does not answer");
        }
        const CompLayer* layer = scene.layer_with_pixels(def.u.ld.data);
        value->val.layer_id = layer != nullptr ? layer->id : 0;
    }
    scene.stream_value_made();
    return PF_Err_NONE;
}

A_Err dispose_stream_value(AEGP_StreamValue2* value)
{
    const CommandScope& scope = logged("AEGP_DisposeStreamValue");
    scope.scene.dispose_stream_value(*value);
    return PF_Err_NONE;
}

A_Err get_new_text_outlines(AEGP_LayerH layer, const A_Time*, AEGP_TextOutlinesH* outlines)
{
    const CommandScope& scope = logged("AEGP_GetNewTextOutlines");
    SceneModel& scene = scope.scene;
    CompLayer& found = comp_layer_of(scene, layer, "AEGP_GetNewTextOutlines of a layer the host never gave");
    *outlines = found.type == AEGP_ObjectType_TEXT ? scene.new_text_outlines(found) : nullptr;
    return *outlines != nullptr ? PF_Err_NONE : PF_Err_BAD_CALLBACK_PARAM;
}

A_Err dispose_text_outlines(AEGP_TextOutlinesH outlines)
{
    logged("AEGP_DisposeTextOutlines").scene.dispose_text_outlines(outlines);
    return PF_Err_NONE;
}

A_Err get_num_text_outlines(AEGP_TextOutlinesH outlines, A_long* count)
{
    *count = static_cast<A_long>(logged("AEGP_GetNumTextOutlines").scene.text_outlines(outlines).outlines.size());
    return PF_Err_NONE;
}

A_Err get_indexed_text_outline(AEGP_TextOutlinesH outlines, A_long index, PF_PathOutlinePtr* path)
{
    CompLayer& layer = logged("AEGP_GetIndexedTextOutline").scene.text_outlines(outlines);
    if (index < 0 || static_cast<std::size_t>(index) >= layer.outlines.size()) {
        *path = nullptr;
        return PF_Err_INVALID_INDEX;
    }
    *path = reinterpret_cast<PF_PathOutlinePtr>(&layer.outlines[static_cast<std::size_t>(index)]);
    return PF_Err_NONE;
}

const TextPath& text_path(PF_ProgPtr effect_ref, PF_PathOutlinePtr path, const char* function)
{
    scope_of(effect_ref).log.calls.emplace_back(function);
    if (path == nullptr) {
        host_fault("a path call without a path");
    }
    return *reinterpret_cast<const TextPath*>(path);
}

template <class Vertices>
A_long segment_count(const Vertices& vertices, bool open) noexcept
{
    const auto n = static_cast<A_long>(vertices.size());
    return open ? (n > 0 ? n - 1 : 0) : n;
}

PF_Err path_is_open(PF_ProgPtr effect_ref, PF_PathOutlinePtr path, PF_Boolean* open)
{
    *open = text_path(effect_ref, path, "PF_PathIsOpen").open ? 1 : 0;
    return PF_Err_NONE;
}

PF_Err path_num_segments(PF_ProgPtr effect_ref, PF_PathOutlinePtr path, A_long* segments)
{
    const TextPath& p = text_path(effect_ref, path, "PF_PathNumSegments");
    *segments = segment_count(p.vertices, p.open);
    return PF_Err_NONE;
}

PF_Err path_vertex_info(PF_ProgPtr effect_ref, PF_PathOutlinePtr path, A_long which, PF_PathVertex* vertex)
{
    const TextPath& p = text_path(effect_ref, path, "PF_PathVertexInfo");
    if (which < 0 || static_cast<std::size_t>(which) >= p.vertices.size()) {
        return PF_Err_INVALID_INDEX;
    }
    *vertex = p.vertices[static_cast<std::size_t>(which)];
    return PF_Err_NONE;
}

A_Err get_layer_num_masks(AEGP_LayerH layer, A_long* count)
{
    const CommandScope& scope = logged("AEGP_GetLayerNumMasks");
    SceneModel& scene = scope.scene;
    *count = layer == scene.effect_layer() ? static_cast<A_long>(scene.masks.size()) : 0;
    return PF_Err_NONE;
}

A_Err get_layer_mask_by_index(AEGP_LayerH layer, AEGP_MaskIndex index, AEGP_MaskRefH* mask)
{
    const CommandScope& scope = logged("AEGP_GetLayerMaskByIndex");
    SceneModel& scene = scope.scene;
    if (layer != scene.effect_layer() || index < 0 || static_cast<std::size_t>(index) >= scene.masks.size()) {
        *mask = nullptr;
        return PF_Err_INVALID_INDEX;
    }
    *mask = scene.open_mask(static_cast<std::size_t>(index));
    return PF_Err_NONE;
}

A_Err dispose_mask(AEGP_MaskRefH mask)
{
    logged("AEGP_DisposeMask").scene.dispose_mask(mask);
    return PF_Err_NONE;
}

A_Err is_mask_outline_open(AEGP_MaskOutlineValH outline, A_Boolean* open)
{
    *open = logged("AEGP_IsMaskOutlineOpen").scene.outline_value(outline).open ? 1 : 0;
    return PF_Err_NONE;
}

A_Err get_mask_outline_num_segments(AEGP_MaskOutlineValH outline, A_long* segments)
{
    const MaskShape& shape = logged("AEGP_GetMaskOutlineNumSegments").scene.outline_value(outline);
    *segments = shape.claimed_segments.value_or(segment_count(shape.vertices, shape.open));
    return PF_Err_NONE;
}

A_Err get_mask_outline_vertex_info(AEGP_MaskOutlineValH outline, AEGP_VertexIndex index, AEGP_MaskVertex* vertex)
{
    const MaskShape& shape = logged("AEGP_GetMaskOutlineVertexInfo").scene.outline_value(outline);
    if (index < 0 || static_cast<std::size_t>(index) >= shape.vertices.size()) {
        return PF_Err_INVALID_INDEX;
    }
    *vertex = shape.vertices[static_cast<std::size_t>(index)];
    return PF_Err_NONE;
}

}  // namespace

AEGP_PFInterfaceSuite with_scene_effect_layer(AEGP_PFInterfaceSuite suite)
{
    suite.AEGP_GetEffectLayer = &get_effect_layer;
    suite.AEGP_ConvertEffectToCompTime = &convert_effect_to_comp_time;
    return suite;
}

AEGP_LayerSuite with_scene_layers(AEGP_LayerSuite suite)
{
    suite.AEGP_GetLayerParentComp = &get_layer_parent_comp;
    suite.AEGP_GetLayerFlags = &get_layer_flags;
    suite.AEGP_GetLayerFromLayerID = &get_layer_from_layer_id;
    suite.AEGP_GetLayerObjectType = &get_layer_object_type;
    suite.AEGP_GetLayerSourceItem = &get_layer_source_item;
    return suite;
}

AEGP_CompSuite with_scene_comp(AEGP_CompSuite suite)
{
    suite.AEGP_GetItemFromComp = &get_item_from_comp;
    suite.AEGP_GetCompFlags = &get_comp_flags;
    suite.AEGP_GetCompShutterAnglePhase = &get_comp_shutter_angle_phase;
    return suite;
}

AEGP_ItemSuite with_scene_items(AEGP_ItemSuite suite)
{
    suite.AEGP_GetItemPixelAspectRatio = &get_item_pixel_aspect_ratio;
    return suite;
}

AEGP_StreamSuite with_scene_streams(AEGP_StreamSuite suite)
{
    suite.AEGP_GetNewMaskStream = &get_new_mask_stream;
    suite.AEGP_GetNewStreamValue = &get_new_stream_value;
    suite.AEGP_DisposeStreamValue = &dispose_stream_value;
    return suite;
}

AEGP_TextLayerSuite with_scene_text(AEGP_TextLayerSuite suite)
{
    suite.AEGP_GetNewTextOutlines = &get_new_text_outlines;
    suite.AEGP_DisposeTextOutlines = &dispose_text_outlines;
    suite.AEGP_GetNumTextOutlines = &get_num_text_outlines;
    suite.AEGP_GetIndexedTextOutline = &get_indexed_text_outline;
    return suite;
}

PF_PathDataSuite with_scene_path_data(PF_PathDataSuite suite)
{
    suite.PF_PathIsOpen = &path_is_open;
    suite.PF_PathNumSegments = &path_num_segments;
    suite.PF_PathVertexInfo = &path_vertex_info;
    return suite;
}

AEGP_LayerMaskSuite with_scene_masks(AEGP_LayerMaskSuite suite)
{
    suite.AEGP_GetLayerNumMasks = &get_layer_num_masks;
    suite.AEGP_GetLayerMaskByIndex = &get_layer_mask_by_index;
    suite.AEGP_DisposeMask = &dispose_mask;
    return suite;
}

AEGP_MaskOutlineSuite with_scene_mask_outlines(AEGP_MaskOutlineSuite suite)
{
    suite.AEGP_IsMaskOutlineOpen = &is_mask_outline_open;
    suite.AEGP_GetMaskOutlineNumSegments = &get_mask_outline_num_segments;
    suite.AEGP_GetMaskOutlineVertexInfo = &get_mask_outline_vertex_info;
    return suite;
}

}  // namespace minihost
