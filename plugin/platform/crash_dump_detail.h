#pragma once

// Where a crash dump's name, folder and message come from. The guard is entered from host and
// worker-pool code that cannot pass anything along, so this is the one process-wide setting the
// guard reads; only tests replace it, to get a known file name in a private folder and to keep
// the message from blocking on a dialog.

#include "plugin/platform/crash_dump.h"
#include "plugin/platform/platform.h"

#include <filesystem>

namespace kyrox {

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
