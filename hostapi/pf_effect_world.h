#pragma once

// The host's pixel buffer record: four channels per pixel, alpha first, rows rowbytes apart.
// The same record is the value of a layer parameter.
#include "hostapi/pf_basic_types.h"

using PF_WorldFlags = A_long;
using PF_PixelPtr = void*;

struct PF_EffectWorld {
    PF_WorldFlags world_flags;
    PF_PixelPtr data;
    A_long rowbytes;
    A_long width;
    A_long height;
    PF_LRect extent_hint;
    A_long origin_x;
    A_long origin_y;
    void* platform_ref;
    PF_RationalScale pix_aspect_ratio;
    A_long dephault;  // layer parameters: the default layer
};

using PF_LayerDef = PF_EffectWorld;

enum : A_long {
    PF_LayerDefault_NONE = 0,
    PF_LayerDefault_MYSELF = -1,
};
