#pragma once

#include <cstdint>
#include <filesystem>

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

// Local calendar time to the second; month and day count from 1.
struct LocalTime {
    int year = 0;
    int month = 0;
    int day = 0;
    int hour = 0;
    int minute = 0;
    int second = 0;
};
LocalTime local_time() noexcept;

// The user's documents folder, or an empty path when the system knows none that exists.
std::filesystem::path documents_folder();
// The folder for temporary files.
std::filesystem::path temporary_folder();

// Creates one folder with default permissions. An existing folder is fine; other failures show up
// when a file is then created in it.
void create_folder(const std::filesystem::path& folder) noexcept;

// Keeps the module holding this code mapped until the process ends, where a module's threads cannot
// be joined at unload: a DLL's static destructors run under the loader lock, where no thread can
// finish. Returns true when the module is now pinned (Windows), false where unloading joins threads
// normally and nothing needs pinning (POSIX).
bool pin_module() noexcept;

long process_id() noexcept;
// The system's ID of the calling thread (the one debuggers and crash reports show).
long current_thread_id() noexcept;

}  // namespace kyrox::platform
