#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <map>
#include <optional>
#include <utility>
#include <vector>

#include "hostapi/effect_api.h"
#include "minihost/host_world.h"

namespace minihost {

// A mask outline as the host stores it: vertices with tangents relative to them.
struct MaskShape {
    std::vector<AEGP_MaskVertex> vertices;
    bool open = false;
    // The segment count the host reports whatever the vertices (a broken host), when set.
    std::optional<A_long> claimed_segments;
};

// A mask whose outline may be animated: keyed shapes, linearly blended between keys of equal
// vertex count and openness, held otherwise.
struct AnimatedMask {
    std::vector<std::pair<A_long, MaskShape>> keys;  // by time, ascending

    MaskShape at(A_long time) const;
};

// A glyph outline as the host reports it: positions with absolute tangent points.
struct TextPath {
    std::vector<PF_PathVertex> vertices;
    bool open = false;
};

// Another layer of the composition, a text layer unless its type says otherwise.
struct CompLayer {
    AEGP_LayerIDVal id = 0;
    AEGP_ObjectType type = AEGP_ObjectType_TEXT;
    bool has_source = true;
    A_Ratio source_pixel_aspect{1, 1};
    std::vector<TextPath> outlines;
    HostWorld pixels;
};

// The composition around the effect: the layer's masks and switches, the composition's settings,
// further layers, and parameter keyframes. Every object the plug-in obtains through the scene's
// suites is counted until it is disposed.
class SceneModel {
public:
    SceneModel() = default;
    SceneModel(const SceneModel&) = delete;
    SceneModel& operator=(const SceneModel&) = delete;

    AEGP_LayerFlags layer_flags = AEGP_LayerFlag_NONE;
    AEGP_CompFlags comp_flags = AEGP_CompFlag_NONE;
    A_Ratio shutter_angle{180, 1};
    A_Ratio shutter_phase{0, 1};
    A_Ratio comp_pixel_aspect{1, 1};
    A_long layer_start = 0;  // the effect layer's start in the composition, in time-scale units
    std::vector<AnimatedMask> masks;
    std::deque<CompLayer> layers;  // addresses stay put as layers are added

    // Parameter keyframes by host index; the value between two keys is blended linearly
    // (sliders, angles, points, colours), other kinds hold the earlier key.
    void set_keyframe(PF_ParamIndex index, A_long time, const PF_ParamDef& value);
    void animate(PF_ParamIndex index, A_long time, PF_ParamDef& param) const;

    AEGP_LayerH effect_layer() noexcept { return reinterpret_cast<AEGP_LayerH>(&layer_flags); }
    AEGP_CompH comp() noexcept { return reinterpret_cast<AEGP_CompH>(&comp_flags); }
    AEGP_ItemH comp_item() noexcept { return reinterpret_cast<AEGP_ItemH>(&comp_pixel_aspect); }
    AEGP_LayerH layer_handle(const CompLayer& layer) noexcept;
    AEGP_ItemH source_item(const CompLayer& layer) noexcept;
    // Null for a handle that is no layer of the composition.
    CompLayer* comp_layer(AEGP_LayerH layer) noexcept;
    CompLayer* layer_by_id(AEGP_LayerIDVal id) noexcept;
    // The layer whose pixels a layer parameter holds, or null.
    const CompLayer* layer_with_pixels(const void* data) const noexcept;
    // Pixel aspect of the composition's item or a layer's source item; false for another handle.
    bool item_pixel_aspect(AEGP_ItemH item, A_Ratio& ratio) noexcept;

    AEGP_MaskRefH open_mask(std::size_t index);
    std::size_t mask_index(AEGP_MaskRefH mask) const;
    void dispose_mask(AEGP_MaskRefH mask);

    void add_mask_stream(AEGP_StreamRefH stream, std::size_t mask);
    // The mask a stream was made for, or false for another stream.
    bool mask_of_stream(AEGP_StreamRefH stream, std::size_t& mask) const;

    AEGP_MaskOutlineValH new_outline_value(MaskShape shape);
    const MaskShape& outline_value(AEGP_MaskOutlineValH outline) const;
    void stream_value_made() noexcept { ++open_values_; }
    void dispose_stream_value(const AEGP_StreamValue2& value);

    AEGP_TextOutlinesH new_text_outlines(CompLayer& layer);
    CompLayer& text_outlines(AEGP_TextOutlinesH outlines) const;
    void dispose_text_outlines(AEGP_TextOutlinesH outlines);

    std::size_t open_masks() const noexcept { return masks_open_.size(); }
    std::size_t open_stream_values() const noexcept { return open_values_; }
    std::size_t open_text_outlines() const noexcept { return text_open_.size(); }

private:
    template <class Handle>
    Handle next_token() noexcept
    {
        return reinterpret_cast<Handle>(next_token_++);
    }

    std::map<PF_ParamIndex, std::vector<std::pair<A_long, PF_ParamDef>>> keyframes_;
    std::map<AEGP_MaskRefH, std::size_t> masks_open_;
    std::map<AEGP_StreamRefH, std::size_t> mask_streams_;
    std::map<AEGP_MaskOutlineValH, MaskShape> outline_values_;
    std::map<AEGP_TextOutlinesH, CompLayer*> text_open_;
    std::size_t open_values_ = 0;
    std::uintptr_t next_token_ = 0x10000;  // apart from the small tokens of effect handles and streams
};

}  // namespace minihost
