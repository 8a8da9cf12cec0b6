#pragma once

// Callbacks the host offers in the input record: parameter interaction and utilities.
#include "hostapi/pf_param_def.h"

using PF_PlatDataID = A_long;

enum : PF_PlatDataID {
    PF_PlatData_MAIN_WND = 0,
};

struct PF_InteractCallbacks {
    PF_Err (*checkout_param)(PF_ProgPtr effect_ref, PF_ParamIndex index, A_long what_time, A_long time_step,
                             A_u_long time_scale, PF_ParamDef* param);
    PF_Err (*checkin_param)(PF_ProgPtr effect_ref, PF_ParamDef* param);
    PF_Err (*add_param)(PF_ProgPtr effect_ref, PF_ParamIndex index, PF_ParamDefPtr def);
};

struct PF_ANSICallbacks {
    A_char* (*strcpy)(A_char* dest, const A_char* src);
};

struct PF_UtilCallbacks {
    PF_Handle (*host_new_handle)(A_u_longlong size);
    void (*host_dispose_handle)(PF_Handle handle);
    PF_Err (*get_platform_data)(PF_ProgPtr effect_ref, PF_PlatDataID which, void* data);
    PF_ANSICallbacks ansi;
};
