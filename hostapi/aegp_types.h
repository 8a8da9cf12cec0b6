#pragma once

// Handles, values and flags of the host's AEGP suites.
#include "hostapi/pf_basic_types.h"

using AEGP_PluginID = A_long;
using AEGP_GlobalRefcon = struct _AEGP_GlobalRefcon*;

using AEGP_EffectRefH = struct _AEGP_EffectRefH*;
using AEGP_StreamRefH = struct _AEGP_StreamRefH*;
using AEGP_LayerH = struct _AEGP_LayerH*;
using AEGP_CompH = struct _AEGP_CompH*;
using AEGP_ItemH = struct _AEGP_ItemH*;
using AEGP_MaskRefH = struct _AEGP_MaskRefH*;
using AEGP_MaskOutlineValH = struct _AEGP_MaskOutlineValH*;
using AEGP_TextOutlinesH = struct _AEGP_TextOutlinesH*;

using AEGP_LayerIDVal = A_u_long;
using AEGP_MaskIndex = A_long;
using AEGP_VertexIndex = A_long;

using AEGP_LayerFlags = A_long;
enum : AEGP_LayerFlags {
    AEGP_LayerFlag_NONE = 0,
    AEGP_LayerFlag_MOTION_BLUR = 0x8,
};

using AEGP_CompFlags = A_long;
enum : AEGP_CompFlags {
    AEGP_CompFlag_NONE = 0,
    AEGP_CompFlag_ENABLE_MOTION_BLUR = 0x8,
};

using AEGP_ObjectType = A_long;
enum : AEGP_ObjectType {
    AEGP_ObjectType_NONE = 0,
    AEGP_ObjectType_TEXT = 3,
};

using AEGP_LTimeMode = A_long;
enum : AEGP_LTimeMode {
    AEGP_LTimeMode_LayerTime = 0,
    AEGP_LTimeMode_CompTime = 1,
};

using AEGP_MaskStream = A_long;
enum : AEGP_MaskStream {
    AEGP_MaskStream_OUTLINE = 400,
};

using AEGP_DynStreamFlags = A_long;
enum : AEGP_DynStreamFlags {
    AEGP_DynStreamFlag_HIDDEN = 0x2,
};

struct AEGP_TwoDVal {
    A_FpLong x;
    A_FpLong y;
};

struct AEGP_ThreeDVal {
    A_FpLong x;
    A_FpLong y;
    A_FpLong z;
};

struct AEGP_ColorVal {
    A_FpLong alphaF;
    A_FpLong redF;
    A_FpLong greenF;
    A_FpLong blueF;
};

union AEGP_StreamVal2 {
    A_FpLong one_d;
    AEGP_TwoDVal two_d;
    AEGP_ThreeDVal three_d;
    AEGP_ColorVal color;
    AEGP_LayerIDVal layer_id;
    AEGP_MaskOutlineValH mask;
};

struct AEGP_StreamValue2 {
    AEGP_StreamRefH streamH;
    AEGP_StreamVal2 val;
};

// A mask vertex: position and tangents relative to it.
struct AEGP_MaskVertex {
    A_FpLong x;
    A_FpLong y;
    A_FpLong tan_in_x;
    A_FpLong tan_in_y;
    A_FpLong tan_out_x;
    A_FpLong tan_out_y;
};
