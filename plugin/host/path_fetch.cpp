#include "plugin/host/path_fetch.h"

#include "plugin/host/host_owned.h"
#include "plugin/host/parameters.h"
#include "plugin/host/param_reading.h"
#include "plugin/host/param_ids.h"

namespace kyrox {

namespace {

// A vertex the host gave in doubles; false when a value does not fit a float.
bool narrow_vertex(double x, double y, double in_dx, double in_dy, double out_dx, double out_dy, PathVertex& v)
{
    return narrow_to_finite(x, v.x) && narrow_to_finite(y, v.y) && narrow_to_finite(in_dx, v.in_dx) &&
           narrow_to_finite(in_dy, v.in_dy) && narrow_to_finite(out_dx, v.out_dx) && narrow_to_finite(out_dy, v.out_dy);
}

// A stream's value at a composition time, disposed when it goes out of scope; null when the host
// gave none. The host fills the value in place, so it stays where it is.
class StreamValueAt {
public:
    StreamValueAt(const AEGP_StreamSuite& streams, AEGP_PluginID plugin_id, AEGP_StreamRefH stream, A_Time time)
        : owner_(own_host_object<&AEGP_StreamSuite::AEGP_DisposeStreamValue>(nullptr, streams))
    {
        if (streams.AEGP_GetNewStreamValue(plugin_id, stream, AEGP_LTimeMode_CompTime, &time, 0, &value_) ==
            PF_Err_NONE) {
            owner_.reset(&value_);
        }
    }
    StreamValueAt(const StreamValueAt&) = delete;
    StreamValueAt& operator=(const StreamValueAt&) = delete;

    const AEGP_StreamValue2* get() const noexcept { return owner_.get(); }

private:
    AEGP_StreamValue2 value_{};
    HostOwned<&AEGP_StreamSuite::AEGP_DisposeStreamValue> owner_;
};

bool vertex_count_acceptable(A_long count) noexcept
{
    return count > 0 && static_cast<std::size_t>(count) <= max_outline_vertices;
}

double pixel_aspect_of(suite_handler& suites, AEGP_ItemH item)
{
    A_Ratio ratio{1, 1};
    if (const AEGP_ItemSuite* items = suites.item(); items != nullptr && item != nullptr) {
        items->AEGP_GetItemPixelAspectRatio(item, &ratio);
    }
    return ratio_fraction(ratio.num, ratio.den);
}

// The closed outline at index, or nothing; x is stretched by x_scale.
void fetch_glyph_outline(const CommandContext& context, const PF_PathDataSuite& path_data, PF_PathOutlinePtr path,
                         double x_scale, std::vector<FetchedPath>& paths)
{
    const PF_ProgPtr effect_ref = context.in_data->effect_ref;
    PF_Boolean open = 1;
    path_data.PF_PathIsOpen(effect_ref, path, &open);
    if (open != 0) {
        return;
    }
    A_long segments = 0;
    path_data.PF_PathNumSegments(effect_ref, path, &segments);
    if (!vertex_count_acceptable(segments)) {
        return;
    }
    FetchedPath fetched;
    fetched.closed = true;
    fetched.vertices.reserve(static_cast<std::size_t>(segments) + 1);
    for (A_long i = 0; i < segments; ++i) {
        PF_PathVertex v{};
        path_data.PF_PathVertexInfo(effect_ref, path, i, &v);
        PathVertex vertex;
        if (!narrow_vertex(v.x * x_scale, v.y, (v.tan_in_x - v.x) * x_scale, v.tan_in_y - v.y,
                           (v.tan_out_x - v.x) * x_scale, v.tan_out_y - v.y, vertex)) {
            return;
        }
        fetched.vertices.push_back(vertex);
    }
    fetched.vertices.push_back(fetched.vertices.front());
    paths.push_back(std::move(fetched));
}

}  // namespace

std::vector<FetchedPath> fetch_text_paths(const AePluginConnection& instance, const CommandContext& context,
                                          suite_handler& suites, const PathSource& source)
{
    std::vector<FetchedPath> paths;
    if (read_param(context, param::text_layer).u.ld.data == nullptr) {
        return paths;
    }
    const AEGP_PFInterfaceSuite* pf = suites.pf_interface();
    const AEGP_LayerSuite* layers = suites.layer_11();
    const AEGP_CompSuite* comps = suites.comp_11();
    const AEGP_StreamSuite* streams = suites.stream();
    const AEGP_EffectSuite* effects = suites.effect_2();
    const AEGP_TextLayerSuite* texts = suites.text_layer();
    const PF_PathDataSuite* path_data = suites.path_data();
    if (pf == nullptr || layers == nullptr || comps == nullptr || streams == nullptr || effects == nullptr ||
        texts == nullptr || path_data == nullptr || source.comp == nullptr) {
        return paths;
    }

    AEGP_ItemH comp_item = nullptr;
    comps->AEGP_GetItemFromComp(source.comp, &comp_item);
    const double comp_aspect = pixel_aspect_of(suites, comp_item);

    AEGP_EffectRefH new_effect = nullptr;
    pf->AEGP_GetNewEffectForEffect(instance.plugin_id, context.in_data->effect_ref, &new_effect);
    const auto effect = own_host_object<&AEGP_EffectSuite::AEGP_DisposeEffect>(new_effect, *effects);
    if (!effect) {
        return paths;
    }
    AEGP_StreamRefH new_stream = nullptr;
    streams->AEGP_GetNewEffectStreamByIndex(instance.plugin_id, effect.get(), param_index_of(param::text_layer),
                                            &new_stream);
    const auto stream = own_host_object<&AEGP_StreamSuite::AEGP_DisposeStream>(new_stream, *streams);
    if (!stream) {
        return paths;
    }
    const StreamValueAt value(*streams, instance.plugin_id, stream.get(), source.comp_time);
    const AEGP_LayerIDVal layer_id = value.get() != nullptr ? value.get()->val.layer_id : 0;
    if (layer_id == 0) {
        return paths;
    }

    AEGP_LayerH text_layer = nullptr;
    layers->AEGP_GetLayerFromLayerID(source.comp, layer_id, &text_layer);
    if (text_layer == nullptr) {
        return paths;
    }
    AEGP_ObjectType type = AEGP_ObjectType_NONE;
    layers->AEGP_GetLayerObjectType(text_layer, &type);
    AEGP_ItemH source_item = nullptr;
    layers->AEGP_GetLayerSourceItem(text_layer, &source_item);
    const double x_scale = source_item != nullptr ? pixel_aspect_of(suites, source_item) / comp_aspect : 1.0;
    if (type != AEGP_ObjectType_TEXT) {
        return paths;
    }

    AEGP_TextOutlinesH new_outlines = nullptr;
    texts->AEGP_GetNewTextOutlines(text_layer, &source.comp_time, &new_outlines);
    const auto outlines = own_host_object<&AEGP_TextLayerSuite::AEGP_DisposeTextOutlines>(new_outlines, *texts);
    if (!outlines) {
        return paths;
    }
    A_long count = 0;
    texts->AEGP_GetNumTextOutlines(outlines.get(), &count);
    for (A_long i = 0; i < count; ++i) {
        PF_PathOutlinePtr path = nullptr;
        texts->AEGP_GetIndexedTextOutline(outlines.get(), i, &path);
        if (path != nullptr) {
            fetch_glyph_outline(context, *path_data, path, x_scale, paths);
        }
    }
    return paths;
}

std::vector<FetchedPath> fetch_mask_paths(const AePluginConnection& instance, suite_handler& suites,
                                          const PathSource& source)
{
    std::vector<FetchedPath> paths;
    const AEGP_LayerMaskSuite* masks = suites.layer_mask();
    const AEGP_MaskOutlineSuite* outlines = suites.mask_outline();
    const AEGP_StreamSuite* streams = suites.stream();
    if (masks == nullptr || outlines == nullptr || streams == nullptr || source.layer == nullptr) {
        return paths;
    }
    A_long count = 0;
    masks->AEGP_GetLayerNumMasks(source.layer, &count);
    for (A_long index = 0; index < count; ++index) {
        AEGP_MaskRefH new_mask = nullptr;
        masks->AEGP_GetLayerMaskByIndex(source.layer, index, &new_mask);
        const auto mask = own_host_object<&AEGP_LayerMaskSuite::AEGP_DisposeMask>(new_mask, *masks);
        if (!mask) {
            continue;
        }
        AEGP_StreamRefH new_stream = nullptr;
        streams->AEGP_GetNewMaskStream(instance.plugin_id, mask.get(), AEGP_MaskStream_OUTLINE, &new_stream);
        const auto stream = own_host_object<&AEGP_StreamSuite::AEGP_DisposeStream>(new_stream, *streams);
        if (!stream) {
            continue;
        }
        const StreamValueAt value(*streams, instance.plugin_id, stream.get(), source.comp_time);
        const AEGP_MaskOutlineValH outline = value.get() != nullptr ? value.get()->val.mask : nullptr;
        if (outline == nullptr) {
            continue;
        }
        A_long segments = 0;
        outlines->AEGP_GetMaskOutlineNumSegments(outline, &segments);
        A_Boolean open = 0;
        outlines->AEGP_IsMaskOutlineOpen(outline, &open);
        if (!vertex_count_acceptable(segments)) {
            continue;
        }
        const A_long vertex_count = open != 0 ? segments + 1 : segments;
        FetchedPath fetched;
        fetched.closed = open == 0;
        fetched.vertices.reserve(static_cast<std::size_t>(vertex_count) + 1);
        bool finite = true;
        for (A_long i = 0; i < vertex_count && finite; ++i) {
            AEGP_MaskVertex v{};
            outlines->AEGP_GetMaskOutlineVertexInfo(outline, i, &v);
            PathVertex vertex;
            finite = narrow_vertex(v.x, v.y, v.tan_in_x, v.tan_in_y, v.tan_out_x, v.tan_out_y, vertex);
            fetched.vertices.push_back(vertex);
        }
        if (!finite) {
            continue;
        }
        if (fetched.closed) {
            fetched.vertices.push_back(fetched.vertices.front());
        }
        paths.push_back(std::move(fetched));
    }
    return paths;
}

}  // namespace kyrox
