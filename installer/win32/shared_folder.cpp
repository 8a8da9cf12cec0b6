#include "installer/win32/shared_folder.h"

#include <shlobj.h>

#include <array>

namespace installer::win32 {

shared_folder_hooks default_shared_folder_hooks()
{
    return {
        []() -> std::optional<std::wstring> {
            std::array<wchar_t, MAX_PATH> buffer{};
            if (FAILED(SHGetFolderPathW(nullptr, CSIDL_COMMON_APPDATA, nullptr, SHGFP_TYPE_CURRENT, buffer.data()))) {
                return std::nullopt;
            }
            return std::wstring(buffer.data());
        },
        [](HANDLE folder, PACL* list, PSECURITY_DESCRIPTOR* descriptor) {
            return GetSecurityInfo(folder, SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr, list, nullptr,
                                   descriptor);
        },
        [](HANDLE folder, PACL list) {
            return SetSecurityInfo(folder, SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr, list, nullptr);
        },
    };
}

std::optional<std::wstring> shared_folder_path(std::wstring_view common_app_data)
{
    constexpr std::wstring_view maker_folder = L"\\Ostrivale\\";
    if (common_app_data.size() + maker_folder.size() >= shared_folder_path_capacity) {
        return std::nullopt;
    }
    std::wstring path(common_app_data);
    path += maker_folder;
    return path;
}

unique_sid make_users_sid()
{
    SID_IDENTIFIER_AUTHORITY nt_authority = SECURITY_NT_AUTHORITY;
    PSID sid = nullptr;
    if (!AllocateAndInitializeSid(&nt_authority, 2, SECURITY_BUILTIN_DOMAIN_RID, DOMAIN_ALIAS_RID_USERS, 0, 0, 0, 0, 0,
                                  0, &sid)) {
        return {};
    }
    return unique_sid(sid);
}

EXPLICIT_ACCESS_W users_full_access(PSID users)
{
    EXPLICIT_ACCESS_W entry{};
    entry.grfAccessPermissions = GENERIC_ALL;
    entry.grfAccessMode = GRANT_ACCESS;
    entry.grfInheritance = OBJECT_INHERIT_ACE | CONTAINER_INHERIT_ACE;
    entry.Trustee.pMultipleTrustee = nullptr;
    entry.Trustee.MultipleTrusteeOperation = NO_MULTIPLE_TRUSTEE;
    entry.Trustee.TrusteeForm = TRUSTEE_IS_SID;
    entry.Trustee.TrusteeType = TRUSTEE_IS_GROUP;
    entry.Trustee.ptstrName = static_cast<LPWSTR>(users);
    return entry;
}

void prepare_shared_folder(const shared_folder_hooks& hooks)
{
    const std::optional<std::wstring> base = hooks.common_app_data();
    if (!base) {
        return;
    }
    const std::optional<std::wstring> path = shared_folder_path(*base);
    // An existing folder keeps its access list: only a folder made here is opened up.
    if (!path || !CreateDirectoryW(path->c_str(), nullptr)) {
        return;
    }
    const unique_handle folder = own_file_handle(CreateFileW(path->c_str(), READ_CONTROL | WRITE_DAC, 0, nullptr,
                                                             OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!folder) {
        return;
    }
    PACL old_list = nullptr;
    PSECURITY_DESCRIPTOR raw_descriptor = nullptr;
    if (hooks.get_access_list(folder.get(), &old_list, &raw_descriptor) != ERROR_SUCCESS) {
        return;
    }
    // The old list lives inside the descriptor.
    const unique_local<void> descriptor(raw_descriptor);
    const unique_sid users = make_users_sid();
    if (!users) {
        return;
    }
    EXPLICIT_ACCESS_W entry = users_full_access(users.get());
    PACL raw_new_list = nullptr;
    const DWORD merged = SetEntriesInAclW(1, &entry, old_list, &raw_new_list);
    const unique_local<ACL> new_list(raw_new_list);
    if (merged == ERROR_SUCCESS && new_list) {
        hooks.set_access_list(folder.get(), new_list.get());
    }
}

}  // namespace installer::win32
