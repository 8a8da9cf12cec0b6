#include "installer/host_detection.h"

#include "installer/win32/owned_handles.h"

#include <windows.h>
#include <shlwapi.h>

#include <array>

namespace installer {
namespace {

constexpr wchar_t releases_key[] = L"SOFTWARE\\Adobe\\After Effects";
constexpr wchar_t install_path_value[] = L"PluginInstallPath";
constexpr DWORD name_capacity = 255;
constexpr DWORD value_capacity = 255;

// One pass over the release subkeys in the registry view the access mask selects. A later pass
// replaces what an earlier one found, an empty value included.
void read_pass(std::uint32_t access, std::vector<file_path>& folders)
{
    HKEY opened = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, releases_key, 0, access, &opened) != ERROR_SUCCESS) {
        return;
    }
    const win32::unique_hkey releases(opened);
    DWORD subkeys = 0;
    if (RegQueryInfoKeyW(releases.get(), nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, nullptr, nullptr,
                         nullptr, nullptr, nullptr) != ERROR_SUCCESS) {
        subkeys = 0;
    }
    for (DWORD index = 0; index < subkeys; ++index) {
        std::array<wchar_t, name_capacity> name{};
        DWORD name_length = name_capacity;
        if (RegEnumKeyExW(releases.get(), index, name.data(), &name_length, nullptr, nullptr, nullptr, nullptr) !=
            ERROR_SUCCESS) {
            continue;
        }
        std::array<wchar_t, value_capacity> value{};
        DWORD value_bytes = sizeof(value);
        // A value that does not fit fails here, so its slot stays as it was.
        if (SHRegGetValueW(releases.get(), name.data(), install_path_value, SRRF_RT_REG_SZ, nullptr, value.data(),
                           &value_bytes) != ERROR_SUCCESS) {
            continue;
        }
        if (const auto slot = slot_for_release_key(std::wstring_view(name.data(), name_length))) {
            folders[*slot] = file_path(std::wstring(value.data(), wcsnlen(value.data(), value.size())));
        }
    }
}

}  // namespace

bool running_under_wow64()
{
    BOOL wow64 = FALSE;
    return IsWow64Process(GetCurrentProcess(), &wow64) && wow64;
}

std::vector<file_path> detect_host_versions(std::span<const std::uint32_t> pass_access)
{
    std::vector<file_path> folders(slot_count);
    for (const std::uint32_t access : pass_access) {
        read_pass(access, folders);
    }
    return folders;
}

std::vector<file_path> detect_host_versions()
{
    return detect_host_versions(detection_passes(running_under_wow64()));
}

}  // namespace installer
