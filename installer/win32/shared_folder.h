#pragma once
// The folder "\Ostrivale\" under the common application-data folder, shared by every user of the
// machine: made after a fully successful run and, only when it is new, opened to the local Users
// group with an inheritable full-access entry. Every failure here is silent.

#include "installer/win32/owned_handles.h"

#include <windows.h>
#include <aclapi.h>

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace installer::win32 {

// The calls that read and write the folder's access list, and where the common application-data
// folder is. Wine keeps no access lists, so tests look at what goes through these.
struct shared_folder_hooks {
    std::function<std::optional<std::wstring>()> common_app_data;
    std::function<DWORD(HANDLE, PACL*, PSECURITY_DESCRIPTOR*)> get_access_list;
    std::function<DWORD(HANDLE, PACL)> set_access_list;
};

// SHGetFolderPathW(CSIDL_COMMON_APPDATA), GetSecurityInfo and SetSecurityInfo on the DACL.
shared_folder_hooks default_shared_folder_hooks();

// The path is built in a buffer of this many characters, its terminator included.
inline constexpr std::size_t shared_folder_path_capacity = 500;

// base + "\Ostrivale\", or nothing when that does not fit the buffer (a cut path would name
// some other folder).
std::optional<std::wstring> shared_folder_path(std::wstring_view common_app_data);

// The local Users group, S-1-5-32-545; null when it cannot be built.
unique_sid make_users_sid();

// Grant GENERIC_ALL to the group, inherited by files and sub-folders.
EXPLICIT_ACCESS_W users_full_access(PSID users);

// Creates the folder; only when it did not exist, adds the Users entry to its access list.
void prepare_shared_folder(const shared_folder_hooks& hooks);

}  // namespace installer::win32
