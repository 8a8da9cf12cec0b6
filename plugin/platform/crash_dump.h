#pragma once

#include <filesystem>

namespace kyrox {

// What a guard knows of the failure it caught. Each platform defines it: the system's exception
// pointers on Windows; the signal, faulting address and stack on POSIX; and what was thrown.
struct FaultRecord;

// Writes a crash dump for the failure into the user's crash-log folder and tells the user where it
// is. Runs on the thread that failed; returns 1, meaning "let the guard's handler run".
// A null fault means nothing is known beyond the calling thread's state.
int write_crash_dump(const FaultRecord* fault) noexcept;

using NativeString = std::filesystem::path::string_type;

}  // namespace kyrox
