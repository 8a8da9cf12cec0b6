#pragma once

#include "plugin/platform/platform.h"

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

// Where a crash dump's name, folder and message come from. The guard is entered from host and
// worker-pool code that cannot pass anything along, so this is the one process-wide setting the
// guard reads; tests install their own to get a known file name in a private folder and to keep
// the message from blocking on a dialog.
struct CrashDumpEnvironment {
    platform::LocalTime (*local_time)() noexcept;
    // The documents folder (empty when there is none) and the fallback for it.
    std::filesystem::path (*documents_folder)();
    std::filesystem::path (*temporary_folder)();
    long (*process_id)() noexcept;
    long (*thread_id)() noexcept;
    // Shows the crash message; returns when the user has seen it.
    void (*notify)(const NativeString& message) noexcept;
};

// The system's services, with a system-modal message box on Windows and standard error on POSIX.
const CrashDumpEnvironment& system_crash_dump_environment() noexcept;

// Replaces the environment for the whole process; null restores the system's. The environment
// must stay alive and unchanged while guards may use it.
void set_crash_dump_environment(const CrashDumpEnvironment* environment) noexcept;

}  // namespace kyrox
