#pragma once

// Scalar types, handles, error codes and small records of the host's effect interface.
#include <cstddef>
#include <cstdint>

using A_long = std::int32_t;
using A_u_long = std::uint32_t;
using A_short = std::int16_t;
using A_u_short = std::uint16_t;
using A_char = char;
using A_u_char = std::uint8_t;
using A_Boolean = std::uint8_t;
using A_longlong = std::int64_t;
using A_u_longlong = std::uint64_t;
using A_FpLong = double;
using A_FpShort = float;
using A_Err = A_long;

using PF_Err = A_long;
using PF_Boolean = std::uint8_t;
using PF_FpLong = double;
using PF_FpShort = float;
using PF_Fixed = A_long;  // 16.16 fixed point
using PF_ParamIndex = A_long;
using PF_Cmd = A_long;

// Host memory handle: a pointer to the host's master pointer of the block.
using PF_Handle = void**;

// Opaque reference of one effect instance inside the host, passed back on every callback.
struct PF_ProgressInfo;
using PF_ProgPtr = PF_ProgressInfo*;

enum : PF_Err {
    PF_Err_NONE = 0,
    PF_Err_OUT_OF_MEMORY = 4,
    PF_Err_INTERNAL_STRUCT_DAMAGED = 512,
    PF_Err_INVALID_INDEX = 513,
    PF_Err_UNRECOGNIZED_PARAM_TYPE = 514,
    PF_Err_INVALID_CALLBACK = 515,
    PF_Err_BAD_CALLBACK_PARAM = 516,
};

// Long rectangle; empty when left >= right or top >= bottom.
struct PF_LRect {
    A_long left;
    A_long top;
    A_long right;
    A_long bottom;
};

// Ratio with a signed numerator and an unsigned denominator (downsampling, pixel aspect).
struct PF_RationalScale {
    A_long num;
    A_u_long den;
};

struct A_Ratio {
    A_long num;
    A_u_long den;
};

struct A_Time {
    A_long value;
    A_u_long scale;
};

// One 8-bit pixel, alpha first.
struct PF_Pixel {
    A_u_char alpha;
    A_u_char red;
    A_u_char green;
    A_u_char blue;
};

// Packs a version as the host's version field does: major.minor.bug, stage, build.
constexpr A_u_long PF_Version(A_u_long major, A_u_long minor, A_u_long bug, A_u_long stage, A_u_long build)
{
    return (major << 19) | (minor << 15) | (bug << 11) | (stage << 9) | build;
}

static_assert(sizeof(PF_LRect) == 16);
static_assert(sizeof(PF_Pixel) == 4);
static_assert(sizeof(PF_RationalScale) == 8);
static_assert(PF_Version(1, 0, 0, 0, 39) == 0x80027);
