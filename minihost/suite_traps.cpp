#include "minihost/suite_traps.h"

#include <cstdio>
#include <cstdlib>

namespace minihost {

void host_fault(const char* what) noexcept
{
    std::fprintf(stderr, "minihost: %s\n", what);
    std::fflush(stderr);
    std::abort();
}

void fail_unimplemented(const char* function) noexcept
{
    std::fprintf(stderr, "minihost: the plug-in called %s, which this host does not implement\n", function);
    std::fflush(stderr);
    std::abort();
}

void padding_slot_called()
{
    fail_unimplemented("a suite slot that the host interface leaves undeclared");
}

AEGP_UtilitySuite trapped_utility_suite()
{
    auto s = padded_table<AEGP_UtilitySuite>();
    trap<"AEGP_RegisterWithAEGP">(s.AEGP_RegisterWithAEGP);
    return s;
}

PFAppSuite trapped_app_suite()
{
    auto s = padded_table<PFAppSuite>();
    trap<"PF_IsRenderEngine">(s.PF_IsRenderEngine);
    return s;
}

AEGP_PFInterfaceSuite trapped_pf_interface_suite()
{
    auto s = padded_table<AEGP_PFInterfaceSuite>();
    trap<"AEGP_GetEffectLayer">(s.AEGP_GetEffectLayer);
    trap<"AEGP_GetNewEffectForEffect">(s.AEGP_GetNewEffectForEffect);
    trap<"AEGP_ConvertEffectToCompTime">(s.AEGP_ConvertEffectToCompTime);
    return s;
}

AEGP_EffectSuite trapped_effect_suite()
{
    auto s = padded_table<AEGP_EffectSuite>();
    trap<"AEGP_DisposeEffect">(s.AEGP_DisposeEffect);
    return s;
}

PF_ParamUtilsSuite trapped_param_utils_suite()
{
    auto s = padded_table<PF_ParamUtilsSuite>();
    trap<"PF_UpdateParamUI">(s.PF_UpdateParamUI);
    return s;
}

AEGP_StreamSuite trapped_stream_suite()
{
    auto s = padded_table<AEGP_StreamSuite>();
    trap<"AEGP_GetNewEffectStreamByIndex">(s.AEGP_GetNewEffectStreamByIndex);
    trap<"AEGP_GetNewMaskStream">(s.AEGP_GetNewMaskStream);
    trap<"AEGP_DisposeStream">(s.AEGP_DisposeStream);
    trap<"AEGP_GetNewStreamValue">(s.AEGP_GetNewStreamValue);
    trap<"AEGP_DisposeStreamValue">(s.AEGP_DisposeStreamValue);
    return s;
}

AEGP_DynamicStreamSuite trapped_dynamic_stream_suite()
{
    auto s = padded_table<AEGP_DynamicStreamSuite>();
    trap<"AEGP_SetDynamicStreamFlag">(s.AEGP_SetDynamicStreamFlag);
    return s;
}

AEGP_LayerSuite trapped_layer_suite()
{
    auto s = padded_table<AEGP_LayerSuite>();
    trap<"AEGP_GetLayerSourceItem">(s.AEGP_GetLayerSourceItem);
    trap<"AEGP_GetLayerParentComp">(s.AEGP_GetLayerParentComp);
    trap<"AEGP_GetLayerFlags">(s.AEGP_GetLayerFlags);
    trap<"AEGP_GetLayerObjectType">(s.AEGP_GetLayerObjectType);
    trap<"AEGP_GetLayerFromLayerID">(s.AEGP_GetLayerFromLayerID);
    return s;
}

AEGP_CompSuite trapped_comp_suite()
{
    auto s = padded_table<AEGP_CompSuite>();
    trap<"AEGP_GetItemFromComp">(s.AEGP_GetItemFromComp);
    trap<"AEGP_GetCompFlags">(s.AEGP_GetCompFlags);
    trap<"AEGP_GetCompShutterAnglePhase">(s.AEGP_GetCompShutterAnglePhase);
    return s;
}

AEGP_ItemSuite trapped_item_suite()
{
    auto s = padded_table<AEGP_ItemSuite>();
    trap<"AEGP_GetItemPixelAspectRatio">(s.AEGP_GetItemPixelAspectRatio);
    return s;
}

AEGP_TextLayerSuite trapped_text_layer_suite()
{
    auto s = padded_table<AEGP_TextLayerSuite>();
    trap<"AEGP_GetNewTextOutlines">(s.AEGP_GetNewTextOutlines);
    trap<"AEGP_DisposeTextOutlines">(s.AEGP_DisposeTextOutlines);
    trap<"AEGP_GetNumTextOutlines">(s.AEGP_GetNumTextOutlines);
    trap<"AEGP_GetIndexedTextOutline">(s.AEGP_GetIndexedTextOutline);
    return s;
}

PF_PathDataSuite trapped_path_data_suite()
{
    auto s = padded_table<PF_PathDataSuite>();
    trap<"PF_PathIsOpen">(s.PF_PathIsOpen);
    trap<"PF_PathNumSegments">(s.PF_PathNumSegments);
    trap<"PF_PathVertexInfo">(s.PF_PathVertexInfo);
    return s;
}

AEGP_LayerMaskSuite trapped_layer_mask_suite()
{
    auto s = padded_table<AEGP_LayerMaskSuite>();
    trap<"AEGP_GetLayerNumMasks">(s.AEGP_GetLayerNumMasks);
    trap<"AEGP_GetLayerMaskByIndex">(s.AEGP_GetLayerMaskByIndex);
    trap<"AEGP_DisposeMask">(s.AEGP_DisposeMask);
    return s;
}

AEGP_MaskOutlineSuite trapped_mask_outline_suite()
{
    auto s = padded_table<AEGP_MaskOutlineSuite>();
    trap<"AEGP_IsMaskOutlineOpen">(s.AEGP_IsMaskOutlineOpen);
    trap<"AEGP_GetMaskOutlineNumSegments">(s.AEGP_GetMaskOutlineNumSegments);
    trap<"AEGP_GetMaskOutlineVertexInfo">(s.AEGP_GetMaskOutlineVertexInfo);
    return s;
}

}  // namespace minihost
