#pragma once

#include "plugin/platform/crash_dump.h"

#include <array>

namespace kyrox {

// A failure as the POSIX guard saw it: a processor fault delivered as a signal, or a thrown
// exception (signal 0). The stack is taken where the failure was seen.
struct FaultRecord {
    int signal = 0;
    int code = 0;
    const void* address = nullptr;
    // What the exception said, when it was a std::exception; else empty.
    std::array<char, 256> what{};
    std::array<void*, 64> stack{};
    int stack_depth = 0;
};

}  // namespace kyrox
