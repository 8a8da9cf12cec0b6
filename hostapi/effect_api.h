#pragma once

// The whole of the host's effect interface as the plug-in and the small host use it.
#include "hostapi/aegp_suites.h"
#include "hostapi/aegp_types.h"
#include "hostapi/pf_basic_types.h"
#include "hostapi/pf_callbacks.h"
#include "hostapi/pf_commands.h"
#include "hostapi/pf_effect_world.h"
#include "hostapi/pf_entry.h"
#include "hostapi/pf_in_out_data.h"
#include "hostapi/pf_out_flags.h"
#include "hostapi/pf_param_def.h"
#include "hostapi/pf_smart_render.h"
#include "hostapi/pf_suites.h"
#include "hostapi/sp_basic_suite.h"
