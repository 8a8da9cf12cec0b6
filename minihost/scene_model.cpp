#include "minihost/scene_model.h"

#include <algorithm>
#include <cmath>

#include "minihost/suite_traps.h"

namespace minihost {

namespace {

double blend(double a, double b, double f) noexcept
{
    return a + (b - a) * f;
}

A_long blend_fixed(A_long a, A_long b, double f) noexcept
{
    return static_cast<A_long>(std::lround(blend(a, b, f)));
}

A_u_char blend_byte(A_u_char a, A_u_char b, double f) noexcept
{
    return static_cast<A_u_char>(std::lround(blend(a, b, f)));
}

PF_ParamDef blend_param(const PF_ParamDef& a, const PF_ParamDef& b, double f)
{
    PF_ParamDef value = a;
    switch (a.param_type) {
    case PF_Param_FLOAT_SLIDER:
        value.u.fs_d.value = blend(a.u.fs_d.value, b.u.fs_d.value, f);
        break;
    case PF_Param_ANGLE:
        value.u.ad.value = blend_fixed(a.u.ad.value, b.u.ad.value, f);
        break;
    case PF_Param_POINT:
        value.u.td.x_value = blend_fixed(a.u.td.x_value, b.u.td.x_value, f);
        value.u.td.y_value = blend_fixed(a.u.td.y_value, b.u.td.y_value, f);
        break;
    case PF_Param_COLOR:
        value.u.cd.value.alpha = blend_byte(a.u.cd.value.alpha, b.u.cd.value.alpha, f);
        value.u.cd.value.red = blend_byte(a.u.cd.value.red, b.u.cd.value.red, f);
        value.u.cd.value.green = blend_byte(a.u.cd.value.green, b.u.cd.value.green, f);
        value.u.cd.value.blue = blend_byte(a.u.cd.value.blue, b.u.cd.value.blue, f);
        break;
    default:
        break;
    }
    return value;
}

AEGP_MaskVertex blend_vertex(const AEGP_MaskVertex& a, const AEGP_MaskVertex& b, double f) noexcept
{
    return {blend(a.x, b.x, f),
            blend(a.y, b.y, f),
            blend(a.tan_in_x, b.tan_in_x, f),
            blend(a.tan_in_y, b.tan_in_y, f),
            blend(a.tan_out_x, b.tan_out_x, f),
            blend(a.tan_out_y, b.tan_out_y, f)};
}

// The keys around a time: the last key at or before it and the first after it, with the blend
// fraction between them; before the first key or after the last, that key alone.
template <class Key, class Blend>
auto value_at(const std::vector<std::pair<A_long, Key>>& keys, A_long time, Blend blend_keys)
{
    const auto after = std::upper_bound(keys.begin(), keys.end(), time,
                                        [](A_long t, const std::pair<A_long, Key>& key) { return t < key.first; });
    if (after == keys.begin()) {
        return keys.front().second;
    }
    const auto before = after - 1;
    if (after == keys.end()) {
        return before->second;
    }
    // In double: keys may lie further apart than A_long holds; the differences are exact either way.
    const double f = (static_cast<double>(time) - static_cast<double>(before->first)) /
                     (static_cast<double>(after->first) - static_cast<double>(before->first));
    return blend_keys(before->second, after->second, f);
}

template <class Key>
void insert_key(std::vector<std::pair<A_long, Key>>& keys, A_long time, Key value)
{
    const auto at = std::lower_bound(keys.begin(), keys.end(), time,
                                     [](const std::pair<A_long, Key>& key, A_long t) { return key.first < t; });
    if (at != keys.end() && at->first == time) {
        at->second = std::move(value);
    } else {
        keys.insert(at, {time, std::move(value)});
    }
}

}  // namespace

MaskShape AnimatedMask::at(A_long time) const
{
    if (keys.empty()) {
        return {};
    }
    return value_at(keys, time, [](const MaskShape& a, const MaskShape& b, double f) {
        if (a.vertices.size() != b.vertices.size() || a.open != b.open) {
            return a;
        }
        MaskShape shape = a;
        for (std::size_t i = 0; i < a.vertices.size(); ++i) {
            shape.vertices[i] = blend_vertex(a.vertices[i], b.vertices[i], f);
        }
        return shape;
    });
}

void SceneModel::set_keyframe(PF_ParamIndex index, A_long time, const PF_ParamDef& value)
{
    insert_key(keyframes_[index], time, value);
}

void SceneModel::animate(PF_ParamIndex index, A_long time, PF_ParamDef& param) const
{
    const auto found = keyframes_.find(index);
    if (found == keyframes_.end() || found->second.empty()) {
        return;
    }
    param = value_at(found->second, time, blend_param);
}

AEGP_LayerH SceneModel::layer_handle(const CompLayer& layer) noexcept
{
    return reinterpret_cast<AEGP_LayerH>(const_cast<CompLayer*>(&layer));
}

AEGP_ItemH SceneModel::source_item(const CompLayer& layer) noexcept
{
    return reinterpret_cast<AEGP_ItemH>(const_cast<A_Ratio*>(&layer.source_pixel_aspect));
}

CompLayer* SceneModel::comp_layer(AEGP_LayerH handle) noexcept
{
    for (CompLayer& layer : layers) {
        if (layer_handle(layer) == handle) {
            return &layer;
        }
    }
    return nullptr;
}

CompLayer* SceneModel::layer_by_id(AEGP_LayerIDVal id) noexcept
{
    for (CompLayer& layer : layers) {
        if (layer.id == id) {
            return &layer;
        }
    }
    return nullptr;
}

const CompLayer* SceneModel::layer_with_pixels(const void* data) const noexcept
{
    for (const CompLayer& layer : layers) {
        if (data != nullptr && layer.pixels.world().data == data) {
            return &layer;
        }
    }
    return nullptr;
}

bool SceneModel::item_pixel_aspect(AEGP_ItemH item, A_Ratio& ratio) noexcept
{
    if (item == comp_item()) {
        ratio = comp_pixel_aspect;
        return true;
    }
    for (const CompLayer& layer : layers) {
        if (layer.has_source && item == source_item(layer)) {
            ratio = layer.source_pixel_aspect;
            return true;
        }
    }
    return false;
}

AEGP_MaskRefH SceneModel::open_mask(std::size_t index)
{
    const auto mask = next_token<AEGP_MaskRefH>();
    masks_open_[mask] = index;
    return mask;
}

std::size_t SceneModel::mask_index(AEGP_MaskRefH mask) const
{
    const auto found = masks_open_.find(mask);
    if (found == masks_open_.end()) {
        host_fault("a mask that is not open");
    }
    return found->second;
}

void SceneModel::dispose_mask(AEGP_MaskRefH mask)
{
    if (masks_open_.erase(mask) == 0) {
        host_fault("AEGP_DisposeMask of a mask that is not open");
    }
}

void SceneModel::add_mask_stream(AEGP_StreamRefH stream, std::size_t mask)
{
    mask_streams_[stream] = mask;
}

bool SceneModel::mask_of_stream(AEGP_StreamRefH stream, std::size_t& mask) const
{
    const auto found = mask_streams_.find(stream);
    if (found == mask_streams_.end()) {
        return false;
    }
    mask = found->second;
    return true;
}

AEGP_MaskOutlineValH SceneModel::new_outline_value(MaskShape shape)
{
    const auto outline = next_token<AEGP_MaskOutlineValH>();
    outline_values_[outline] = std::move(shape);
    return outline;
}

const MaskShape& SceneModel::outline_value(AEGP_MaskOutlineValH outline) const
{
    const auto found = outline_values_.find(outline);
    if (found == outline_values_.end()) {
        host_fault("a mask outline that is not a live stream value");
    }
    return found->second;
}

void SceneModel::dispose_stream_value(const AEGP_StreamValue2& value)
{
    if (open_values_ == 0) {
        host_fault("AEGP_DisposeStreamValue of a value the host never gave");
    }
    --open_values_;
    std::size_t mask = 0;
    if (mask_of_stream(value.streamH, mask) && outline_values_.erase(value.val.mask) == 0) {
        host_fault("AEGP_DisposeStreamValue of a mask outline that is not live");
    }
}

AEGP_TextOutlinesH SceneModel::new_text_outlines(CompLayer& layer)
{
    const auto outlines = next_token<AEGP_TextOutlinesH>();
    text_open_[outlines] = &layer;
    return outlines;
}

CompLayer& SceneModel::text_outlines(AEGP_TextOutlinesH outlines) const
{
    const auto found = text_open_.find(outlines);
    if (found == text_open_.end()) {
        host_fault("text outlines that are not open");
    }
    return *found->second;
}

void SceneModel::dispose_text_outlines(AEGP_TextOutlinesH outlines)
{
    if (text_open_.erase(outlines) == 0) {
        host_fault("AEGP_DisposeTextOutlines of outlines that are not open");
    }
}

}  // namespace minihost
