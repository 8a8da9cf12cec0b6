#pragma once

// Flag words the plug-in reports to the host at global set-up, and render output flags.
#include "hostapi/pf_basic_types.h"

using PF_OutFlags = A_long;
using PF_OutFlags2 = A_long;
using PF_RenderOutputFlags = A_short;

enum : PF_OutFlags {
    PF_OutFlag_NONE = 0,
    PF_OutFlag_NON_PARAM_VARY = 0x4,
    PF_OutFlag_I_EXPAND_BUFFER = 0x200,
    PF_OutFlag_PIX_INDEPENDENT = 0x400,
    PF_OutFlag_I_USE_SHUTTER_ANGLE = 0x80000,
    PF_OutFlag_DEEP_COLOR_AWARE = 0x2000000,
};

enum : PF_OutFlags2 {
    PF_OutFlag2_NONE = 0,
    PF_OutFlag2_SUPPORTS_QUERY_DYNAMIC_FLAGS = 0x1,
    PF_OutFlag2_PARAM_GROUP_START_COLLAPSED_FLAG = 0x8,
    PF_OutFlag2_REVEALS_ZERO_ALPHA = 0x80,
    PF_OutFlag2_SUPPORTS_SMART_RENDER = 0x400,
    PF_OutFlag2_FLOAT_COLOR_AWARE = 0x1000,
    PF_OutFlag2_DEPENDS_ON_UNREFERENCED_MASKS = 0x80000,
};

enum : PF_RenderOutputFlags {
    PF_RenderOutputFlag_RETURNS_EXTRA_PIXELS = 0x1,
};
