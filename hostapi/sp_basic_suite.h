#pragma once

// The host's basic suite, reached through PF_InData::pica_basicP: acquires and releases the other
// suites by name and version. A suite is a table of functions called by their position.
#include <cstddef>

#include "hostapi/pf_basic_types.h"

using SPErr = A_long;

enum : SPErr {
    kSPNoError = 0,
};

// Offset of a function slot in a suite's table.
constexpr std::size_t PF_SuiteSlot(std::size_t slot)
{
    return slot * sizeof(void*);
}

struct SPBasicSuite {
    SPErr (*AcquireSuite)(const char* name, A_long version, const void** suite);
    SPErr (*ReleaseSuite)(const char* name, A_long version);
};

static_assert(offsetof(SPBasicSuite, AcquireSuite) == PF_SuiteSlot(0));
static_assert(offsetof(SPBasicSuite, ReleaseSuite) == PF_SuiteSlot(1));
