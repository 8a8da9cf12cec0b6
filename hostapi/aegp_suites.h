#pragma once

// The AEGP suites the plug-in acquires: names, versions and function tables. Functions sit at the
// host's slot positions; slots the plug-in never calls are padding.
#include <cstddef>

#include "hostapi/aegp_types.h"
#include "hostapi/pf_param_def.h"
#include "hostapi/sp_basic_suite.h"

inline constexpr const char* kAEGPUtilitySuite = "AEGP Utility Suite";
inline constexpr A_long kAEGPUtilitySuiteVersion10 = 10;

struct AEGP_UtilitySuite {
    const void* unused_0_7[8];
    A_Err (*AEGP_RegisterWithAEGP)(AEGP_GlobalRefcon global_refcon, const A_char* plugin_name,
                                   AEGP_PluginID* plugin_id);
};

inline constexpr const char* kAEGPPFInterfaceSuite = "AEGP PF Interface Suite";
inline constexpr A_long kAEGPPFInterfaceSuiteVersion1 = 1;

struct AEGP_PFInterfaceSuite {
    A_Err (*AEGP_GetEffectLayer)(PF_ProgPtr effect_ref, AEGP_LayerH* layer);
    A_Err (*AEGP_GetNewEffectForEffect)(AEGP_PluginID plugin_id, PF_ProgPtr effect_ref, AEGP_EffectRefH* effect);
    A_Err (*AEGP_ConvertEffectToCompTime)(PF_ProgPtr effect_ref, A_long what_time, A_u_long time_scale,
                                          A_Time* comp_time);
};

inline constexpr const char* kAEGPEffectSuite = "AEGP Effect Suite";
inline constexpr A_long kAEGPEffectSuiteVersion1 = 1;
inline constexpr A_long kAEGPEffectSuiteVersion2 = 2;

// Versions 1 and 2 share the slots the plug-in calls.
struct AEGP_EffectSuite {
    const void* unused_0_7[8];
    A_Err (*AEGP_DisposeEffect)(AEGP_EffectRefH effect);
};

inline constexpr const char* kAEGPStreamSuite = "AEGP Stream Suite";
inline constexpr A_long kAEGPStreamSuiteVersion7 = 7;

struct AEGP_StreamSuite {
    const void* unused_0_4[5];
    A_Err (*AEGP_GetNewEffectStreamByIndex)(AEGP_PluginID plugin_id, AEGP_EffectRefH effect, PF_ParamIndex param_index,
                                            AEGP_StreamRefH* stream);
    A_Err (*AEGP_GetNewMaskStream)(AEGP_PluginID plugin_id, AEGP_MaskRefH mask, AEGP_MaskStream which,
                                   AEGP_StreamRefH* stream);
    A_Err (*AEGP_DisposeStream)(AEGP_StreamRefH stream);
    const void* unused_8_12[5];
    A_Err (*AEGP_GetNewStreamValue)(AEGP_PluginID plugin_id, AEGP_StreamRefH stream, AEGP_LTimeMode time_mode,
                                    const A_Time* time, A_Boolean pre_expression, AEGP_StreamValue2* value);
    A_Err (*AEGP_DisposeStreamValue)(AEGP_StreamValue2* value);
};

inline constexpr const char* kAEGPDynamicStreamSuite = "AEGP Dynamic Stream Suite";
inline constexpr A_long kAEGPDynamicStreamSuiteVersion2 = 2;

struct AEGP_DynamicStreamSuite {
    const void* unused_0_4[5];
    A_Err (*AEGP_SetDynamicStreamFlag)(AEGP_StreamRefH stream, AEGP_DynStreamFlags one_flag, A_Boolean undoable,
                                       A_Boolean set);
};

inline constexpr const char* kAEGPLayerSuite = "AEGP Layer Suite";
inline constexpr A_long kAEGPLayerSuiteVersion11 = 11;
inline constexpr A_long kAEGPLayerSuiteVersion12 = 12;

// Versions 11 and 12 share the slots the plug-in calls.
struct AEGP_LayerSuite {
    const void* unused_0_3[4];
    A_Err (*AEGP_GetLayerSourceItem)(AEGP_LayerH layer, AEGP_ItemH* source_item);
    const void* unused_5;
    A_Err (*AEGP_GetLayerParentComp)(AEGP_LayerH layer, AEGP_CompH* comp);
    const void* unused_7_9[3];
    A_Err (*AEGP_GetLayerFlags)(AEGP_LayerH layer, AEGP_LayerFlags* flags);
    const void* unused_11_27[17];
    A_Err (*AEGP_GetLayerObjectType)(AEGP_LayerH layer, AEGP_ObjectType* object_type);
    const void* unused_29_44[16];
    A_Err (*AEGP_GetLayerFromLayerID)(AEGP_CompH comp, AEGP_LayerIDVal layer_id, AEGP_LayerH* layer);
};

inline constexpr const char* kAEGPCompSuite = "AEGP Comp Suite";
inline constexpr A_long kAEGPCompSuiteVersion11 = 11;
inline constexpr A_long kAEGPCompSuiteVersion19 = 19;

// Versions 11 and 19 share the slots the plug-in calls.
struct AEGP_CompSuite {
    const void* unused_0;
    A_Err (*AEGP_GetItemFromComp)(AEGP_CompH comp, AEGP_ItemH* item);
    const void* unused_2_5[4];
    A_Err (*AEGP_GetCompFlags)(AEGP_CompH comp, AEGP_CompFlags* flags);
    const void* unused_7_8[2];
    A_Err (*AEGP_GetCompShutterAnglePhase)(AEGP_CompH comp, A_Ratio* angle, A_Ratio* phase);
};

inline constexpr const char* kAEGPItemSuite = "AEGP Item Suite";
inline constexpr A_long kAEGPItemSuiteVersion10 = 10;

struct AEGP_ItemSuite {
    const void* unused_0_16[17];
    A_Err (*AEGP_GetItemPixelAspectRatio)(AEGP_ItemH item, A_Ratio* pixel_aspect);
};

inline constexpr const char* kAEGPTextLayerSuite = "AEGP Text Layer Suite";
inline constexpr A_long kAEGPTextLayerSuiteVersion1 = 1;

struct PF_PathOutline;
using PF_PathOutlinePtr = PF_PathOutline*;

struct AEGP_TextLayerSuite {
    A_Err (*AEGP_GetNewTextOutlines)(AEGP_LayerH layer, const A_Time* layer_time, AEGP_TextOutlinesH* outlines);
    A_Err (*AEGP_DisposeTextOutlines)(AEGP_TextOutlinesH outlines);
    A_Err (*AEGP_GetNumTextOutlines)(AEGP_TextOutlinesH outlines, A_long* count);
    A_Err (*AEGP_GetIndexedTextOutline)(AEGP_TextOutlinesH outlines, A_long index, PF_PathOutlinePtr* path);
};

inline constexpr const char* kAEGPLayerMaskSuite = "AEGP Layer Mask Suite";
inline constexpr A_long kAEGPLayerMaskSuiteVersion6 = 6;

struct AEGP_LayerMaskSuite {
    A_Err (*AEGP_GetLayerNumMasks)(AEGP_LayerH layer, A_long* count);
    A_Err (*AEGP_GetLayerMaskByIndex)(AEGP_LayerH layer, AEGP_MaskIndex index, AEGP_MaskRefH* mask);
    A_Err (*AEGP_DisposeMask)(AEGP_MaskRefH mask);
};

inline constexpr const char* kAEGPMaskOutlineSuite = "AEGP Mask Outline Suite";
inline constexpr A_long kAEGPMaskOutlineSuiteVersion3 = 3;

struct AEGP_MaskOutlineSuite {
    A_Err (*AEGP_IsMaskOutlineOpen)(AEGP_MaskOutlineValH outline, A_Boolean* open);
    const void* unused_1;
    A_Err (*AEGP_GetMaskOutlineNumSegments)(AEGP_MaskOutlineValH outline, A_long* segments);
    A_Err (*AEGP_GetMaskOutlineVertexInfo)(AEGP_MaskOutlineValH outline, AEGP_VertexIndex index,
                                           AEGP_MaskVertex* vertex);
};

static_assert(offsetof(AEGP_UtilitySuite, AEGP_RegisterWithAEGP) == PF_SuiteSlot(8));
static_assert(offsetof(AEGP_PFInterfaceSuite, AEGP_GetEffectLayer) == PF_SuiteSlot(0));
static_assert(offsetof(AEGP_PFInterfaceSuite, AEGP_GetNewEffectForEffect) == PF_SuiteSlot(1));
static_assert(offsetof(AEGP_EffectSuite, AEGP_DisposeEffect) == PF_SuiteSlot(8));
static_assert(offsetof(AEGP_StreamSuite, AEGP_GetNewEffectStreamByIndex) == PF_SuiteSlot(5));
static_assert(offsetof(AEGP_StreamSuite, AEGP_GetNewMaskStream) == PF_SuiteSlot(6));
static_assert(offsetof(AEGP_StreamSuite, AEGP_DisposeStream) == PF_SuiteSlot(7));
static_assert(offsetof(AEGP_StreamSuite, AEGP_GetNewStreamValue) == PF_SuiteSlot(13));
static_assert(offsetof(AEGP_StreamSuite, AEGP_DisposeStreamValue) == PF_SuiteSlot(14));
static_assert(offsetof(AEGP_DynamicStreamSuite, AEGP_SetDynamicStreamFlag) == PF_SuiteSlot(5));
static_assert(offsetof(AEGP_LayerSuite, AEGP_GetLayerSourceItem) == PF_SuiteSlot(4));
static_assert(offsetof(AEGP_LayerSuite, AEGP_GetLayerParentComp) == PF_SuiteSlot(6));
static_assert(offsetof(AEGP_LayerSuite, AEGP_GetLayerFlags) == PF_SuiteSlot(10));
static_assert(offsetof(AEGP_LayerSuite, AEGP_GetLayerObjectType) == PF_SuiteSlot(28));
static_assert(offsetof(AEGP_LayerSuite, AEGP_GetLayerFromLayerID) == PF_SuiteSlot(45));
static_assert(offsetof(AEGP_CompSuite, AEGP_GetItemFromComp) == PF_SuiteSlot(1));
static_assert(offsetof(AEGP_CompSuite, AEGP_GetCompFlags) == PF_SuiteSlot(6));
static_assert(offsetof(AEGP_CompSuite, AEGP_GetCompShutterAnglePhase) == PF_SuiteSlot(9));
static_assert(offsetof(AEGP_ItemSuite, AEGP_GetItemPixelAspectRatio) == PF_SuiteSlot(17));
static_assert(offsetof(AEGP_TextLayerSuite, AEGP_GetNewTextOutlines) == PF_SuiteSlot(0));
static_assert(offsetof(AEGP_TextLayerSuite, AEGP_DisposeTextOutlines) == PF_SuiteSlot(1));
static_assert(offsetof(AEGP_TextLayerSuite, AEGP_GetNumTextOutlines) == PF_SuiteSlot(2));
static_assert(offsetof(AEGP_TextLayerSuite, AEGP_GetIndexedTextOutline) == PF_SuiteSlot(3));
static_assert(offsetof(AEGP_LayerMaskSuite, AEGP_DisposeMask) == PF_SuiteSlot(2));
static_assert(offsetof(AEGP_MaskOutlineSuite, AEGP_IsMaskOutlineOpen) == PF_SuiteSlot(0));
static_assert(offsetof(AEGP_MaskOutlineSuite, AEGP_GetMaskOutlineNumSegments) == PF_SuiteSlot(2));
static_assert(offsetof(AEGP_MaskOutlineSuite, AEGP_GetMaskOutlineVertexInfo) == PF_SuiteSlot(3));
