#pragma once
// Finds the plug-in folder of each installed host release in the registry (read only):
// HKEY_LOCAL_MACHINE "SOFTWARE\Adobe\After Effects", one subkey per release, value
// "PluginInstallPath". Never fails as a whole: whatever cannot be read leaves its slot empty.

#include "installer/version_slots.h"
#include "qxsdk/filesystem/file_path.h"

#include <cstdint>
#include <span>
#include <vector>

namespace installer {

using qxsdk::filesystem::file_path;

// Nine folders indexed by slot, empty where none was found; the custom slot is always empty.
std::vector<file_path> detect_host_versions();

// The same with the passes given as registry access masks, in order (detection_passes).
std::vector<file_path> detect_host_versions(std::span<const std::uint32_t> pass_access);

// Whether this is a 32-bit process on 64-bit Windows.
bool running_under_wow64();

}  // namespace installer
