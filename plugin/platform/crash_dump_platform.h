#pragma once

#include "plugin/platform/crash_dump.h"

#include <filesystem>

// The parts of crash dumping that each platform does its own way.
namespace kyrox {

// Writes the dump file: a minidump of the process on Windows, a text crash report on POSIX.
// `thread` is the ID the file name carries.
void write_dump_file(const std::filesystem::path& file, const FaultRecord* fault, long thread) noexcept;

// Shows the crash message to the user and returns when it was seen.
void show_crash_message(const NativeString& message) noexcept;

}  // namespace kyrox
