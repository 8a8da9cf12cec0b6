#pragma once

// The host's 176-byte parameter record: header fields, the name, flags and a 120-byte value union
// whose layout depends on the parameter type. Stored presets keep the raw value union.
#include <cstddef>

#include "hostapi/pf_basic_types.h"
#include "hostapi/pf_effect_world.h"

using PF_ParamType = A_long;
using PF_ParamFlags = A_long;
using PF_ParamUIFlags = A_long;
using PF_ChangeFlags = A_long;
using PF_ValueDisplayFlags = A_short;

enum : PF_ParamType {
    PF_Param_LAYER = 0,
    PF_Param_SLIDER = 1,
    PF_Param_FIX_SLIDER = 2,
    PF_Param_ANGLE = 3,
    PF_Param_CHECKBOX = 4,
    PF_Param_COLOR = 5,
    PF_Param_POINT = 6,
    PF_Param_POPUP = 7,
    PF_Param_CUSTOM = 8,
    PF_Param_NO_DATA = 9,
    PF_Param_FLOAT_SLIDER = 10,
    PF_Param_ARBITRARY_DATA = 11,
    PF_Param_PATH = 12,
    PF_Param_GROUP_START = 13,
    PF_Param_GROUP_END = 14,
};

enum : PF_ParamFlags {
    PF_ParamFlag_NONE = 0,
    PF_ParamFlag_COLLAPSE_TWIRLY = 0x20,  // collapsed dial of an angle
    PF_ParamFlag_START_COLLAPSED = 0x20,  // group start shown collapsed
    PF_ParamFlag_SUPERVISE = 0x40,        // the host reports changes of the value
};

enum : PF_ParamUIFlags {
    PF_PUI_NONE = 0,
    PF_PUI_INVISIBLE = 0x20,
};

enum : PF_ChangeFlags {
    PF_ChangeFlag_NONE = 0,
    PF_ChangeFlag_CHANGED_VALUE = 0x1,
};

enum : PF_ValueDisplayFlags {
    PF_ValueDisplayFlag_NONE = 0,
    PF_ValueDisplayFlag_PERCENT = 0x1,
};

inline constexpr std::size_t PF_MAX_EFFECT_PARAM_NAME_LEN = 31;

struct PF_AngleDef {
    PF_Fixed value;  // degrees, 16.16
    PF_Fixed dephault;
};

struct PF_CheckBoxDef {
    A_long value;
    A_long dephault;
    const A_char* nameptr;  // label text next to the box
};

struct PF_ColorDef {
    PF_Pixel value;
    PF_Pixel dephault;
};

struct PF_PointDef {
    PF_Fixed x_value;  // 16.16; as a default in percent of the layer, as a value in pixels
    PF_Fixed y_value;
    PF_Fixed x_dephault;
    PF_Fixed y_dephault;
    PF_Boolean restrict_bounds;
};

struct PF_PopupDef {
    A_long value;  // 1-based item
    A_short num_choices;
    A_short dephault;
    const A_char* u_names;  // items separated by "|"
};

struct PF_FloatSliderDef {
    PF_FpLong value;
    PF_FpShort valid_min;
    PF_FpShort valid_max;
    PF_FpShort slider_min;
    PF_FpShort slider_max;
    PF_FpLong dephault;
    A_short precision;  // decimal places shown
    PF_ValueDisplayFlags display_flags;
};

union PF_ParamDefUnion {
    PF_LayerDef ld;
    PF_AngleDef ad;
    PF_CheckBoxDef bd;
    PF_ColorDef cd;
    PF_PointDef td;
    PF_PopupDef pd;
    PF_FloatSliderDef fs_d;
    A_u_char raw[120];
};

struct PF_ParamDef {
    union {
        A_long id;                    // when the parameter is added
        PF_ChangeFlags change_flags;  // when the plug-in changes a value
    } uu;
    PF_ParamUIFlags ui_flags;
    A_short ui_width;
    A_short ui_height;
    PF_ParamType param_type;
    A_char name[PF_MAX_EFFECT_PARAM_NAME_LEN + 1];
    PF_ParamFlags flags;
    A_long unused;
    PF_ParamDefUnion u;
};

using PF_ParamDefPtr = PF_ParamDef*;
using PF_ParamList = PF_ParamDef**;

// Extra record of the user-changed-parameter command: the host index of the changed parameter.
struct PF_UserChangedParamExtra {
    PF_ParamIndex param_index;
};

static_assert(sizeof(PF_ParamDefUnion) == 120);
static_assert(sizeof(PF_ParamDef) == 176);
static_assert(offsetof(PF_ParamDef, name) == 16);
static_assert(offsetof(PF_ParamDef, u) == 56);
static_assert(offsetof(PF_ParamDefUnion, fs_d.value) == 0);
static_assert(offsetof(PF_ParamDefUnion, bd.value) == 0);
static_assert(offsetof(PF_ParamDefUnion, cd.value) == 0);
static_assert(offsetof(PF_ParamDefUnion, pd.value) == 0);
