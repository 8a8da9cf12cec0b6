#pragma once

// The PF suites the plug-in acquires: names, versions and function tables at the host's slots.
#include <cstddef>

#include "hostapi/aegp_suites.h"
#include "hostapi/pf_param_def.h"
#include "hostapi/sp_basic_suite.h"

inline constexpr const char* kPFAppSuite = "PF AE App Suite";
inline constexpr A_long kPFAppSuiteVersion6 = 6;

struct PFAppSuite {
    const void* unused_0_4[5];
    PF_Err (*PF_IsRenderEngine)(PF_Boolean* render_engine);
};

inline constexpr const char* kPFParamUtilsSuite = "PF Param Utils Suite";
inline constexpr A_long kPFParamUtilsSuiteVersion3 = 3;

struct PF_ParamUtilsSuite {
    PF_Err (*PF_UpdateParamUI)(PF_ProgPtr effect_ref, PF_ParamIndex param_index, const PF_ParamDef* def);
};

inline constexpr const char* kPFPathDataSuite = "PF Path Data Suite";
inline constexpr A_long kPFPathDataSuiteVersion1 = 1;

// A path vertex with absolute tangent points.
struct PF_PathVertex {
    PF_FpLong x;
    PF_FpLong y;
    PF_FpLong tan_in_x;
    PF_FpLong tan_in_y;
    PF_FpLong tan_out_x;
    PF_FpLong tan_out_y;
};

struct PF_PathDataSuite {
    PF_Err (*PF_PathIsOpen)(PF_ProgPtr effect_ref, PF_PathOutlinePtr path, PF_Boolean* open);
    PF_Err (*PF_PathNumSegments)(PF_ProgPtr effect_ref, PF_PathOutlinePtr path, A_long* segments);
    PF_Err (*PF_PathVertexInfo)(PF_ProgPtr effect_ref, PF_PathOutlinePtr path, A_long which_point,
                                PF_PathVertex* vertex);
};

static_assert(offsetof(PFAppSuite, PF_IsRenderEngine) == PF_SuiteSlot(5));
static_assert(offsetof(PF_ParamUtilsSuite, PF_UpdateParamUI) == PF_SuiteSlot(0));
static_assert(offsetof(PF_PathDataSuite, PF_PathIsOpen) == PF_SuiteSlot(0));
static_assert(offsetof(PF_PathDataSuite, PF_PathNumSegments) == PF_SuiteSlot(1));
static_assert(offsetof(PF_PathDataSuite, PF_PathVertexInfo) == PF_SuiteSlot(2));
