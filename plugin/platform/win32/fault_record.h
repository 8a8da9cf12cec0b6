#pragma once

#include "plugin/platform/crash_dump.h"

#include <windows.h>

namespace kyrox {

// A failure as the Windows guard saw it: the system's description of a processor fault. A thrown
// exception has none; its dump shows the thread where the guard caught it.
struct FaultRecord {
    EXCEPTION_POINTERS* pointers = nullptr;
};

}  // namespace kyrox
