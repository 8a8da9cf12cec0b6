#pragma once

#include <cstdint>

// The few operating-system services the plug-in needs; everything else is standard C++.
namespace kyrox::platform {

// Sends text to the debugger output (OutputDebugStringA on Windows). On POSIX systems, which have
// no such channel, the text goes to the file descriptor named by KYROX_DEBUG_FD, when that is set.
void debugger_output(const char* text) noexcept;

// High-resolution monotonic counter and its ticks per second.
std::int64_t performance_counter() noexcept;
std::int64_t performance_frequency() noexcept;

// Number of logical processors; at least 1.
unsigned logical_processor_count() noexcept;

}  // namespace kyrox::platform
