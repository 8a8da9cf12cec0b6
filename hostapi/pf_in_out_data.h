#pragma once

// The input record the host passes with every command, and the output record the plug-in fills.
#include <cstddef>

#include "hostapi/pf_callbacks.h"
#include "hostapi/pf_out_flags.h"

struct SPBasicSuite;

using PF_Quality = A_long;
using PF_Field = A_long;
using PF_InFlags = A_long;

struct PF_InData {
    PF_InteractCallbacks inter;
    PF_UtilCallbacks* utils;
    PF_ProgPtr effect_ref;
    PF_Quality quality;
    A_u_long version;  // host's interface version, packed like PF_Version
    A_long serial_num;
    A_long appl_id;
    A_long num_params;
    A_long current_time;  // in time_scale units
    A_long time_step;
    A_long total_time;
    A_long local_time_step;
    A_u_long time_scale;
    PF_Field field;
    PF_Fixed shutter_angle;
    A_long width;  // source layer size
    A_long height;
    PF_LRect extent_hint;
    A_long output_origin_x;
    A_long output_origin_y;
    PF_RationalScale downsample_x;
    PF_RationalScale downsample_y;
    PF_RationalScale pixel_aspect_ratio;
    PF_InFlags in_flags;
    PF_Handle global_data;
    PF_Handle sequence_data;
    PF_Handle frame_data;
    SPBasicSuite* pica_basicP;
    A_long pre_effect_source_origin_x;
    A_long pre_effect_source_origin_y;
    PF_Fixed shutter_phase;
};

inline constexpr std::size_t PF_MAX_EFFECT_MSG_LEN = 255;

struct PF_OutData {
    A_u_long my_version;  // packed like PF_Version
    A_char name[32];
    PF_Handle global_data;
    A_long num_params;
    PF_Handle sequence_data;
    A_long flat_sdata_size;
    PF_Handle frame_data;
    A_long width;
    A_long height;
    A_long origin_x;
    A_long origin_y;
    PF_OutFlags out_flags;
    A_char return_msg[PF_MAX_EFFECT_MSG_LEN + 1];
    PF_OutFlags2 out_flags2;
};

static_assert(sizeof(PF_OutData::return_msg) == 256);
