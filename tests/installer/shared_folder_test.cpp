#include "installer/win32/shared_folder.h"
#include "tests/installer/win32_test_support.h"

#include <gtest/gtest.h>

#include <windows.h>
#include <aclapi.h>
#include <sddl.h>

#include <string>
#include <vector>

namespace {

using installer::win32::shared_folder_hooks;
using installer::win32::unique_local;
using installer_test::exists;
using installer_test::ScratchFolder;

std::wstring sid_text(PSID sid)
{
    LPWSTR text = nullptr;
    if (!ConvertSidToStringSidW(sid, &text)) {
        return {};
    }
    const unique_local<wchar_t> owner(text);
    return text;
}

// What one Users entry of an access list says.
struct UsersEntry {
    BYTE type = 0xFF;
    BYTE flags = 0;
    ACCESS_MASK mask = 0;
};

std::vector<UsersEntry> users_entries(PACL list)
{
    std::vector<UsersEntry> entries;
    for (DWORD index = 0; list && index < list->AceCount; ++index) {
        void* raw = nullptr;
        if (!GetAce(list, index, &raw)) {
            continue;
        }
        const auto* header = static_cast<const ACE_HEADER*>(raw);
        if (header->AceType != ACCESS_ALLOWED_ACE_TYPE && header->AceType != ACCESS_DENIED_ACE_TYPE) {
            continue;
        }
        auto* entry = static_cast<ACCESS_ALLOWED_ACE*>(raw);
        if (sid_text(&entry->SidStart) == L"S-1-5-32-545") {
            entries.push_back({header->AceType, header->AceFlags, entry->Mask});
        }
    }
    return entries;
}

// The real calls, with the access-list calls counted and the list that would be applied kept.
class SharedFolder : public testing::Test {
protected:
    ScratchFolder app_data{L"kyrox-shared"};
    int reads = 0;
    int writes = 0;
    std::vector<UsersEntry> applied;
    DWORD read_result = ERROR_SUCCESS;
    shared_folder_hooks hooks = make_hooks();

    std::wstring folder() const { return app_data.path() + L"\\Ostrivale\\"; }

    shared_folder_hooks make_hooks()
    {
        shared_folder_hooks made = installer::win32::default_shared_folder_hooks();
        const auto read = made.get_access_list;
        const auto write = made.set_access_list;
        made.common_app_data = [this] { return std::optional<std::wstring>(app_data.path()); };
        made.get_access_list = [this, read](HANDLE handle, PACL* list, PSECURITY_DESCRIPTOR* descriptor) {
            ++reads;
            return read_result == ERROR_SUCCESS ? read(handle, list, descriptor) : read_result;
        };
        made.set_access_list = [this, write](HANDLE handle, PACL list) {
            ++writes;
            applied = users_entries(list);
            return write(handle, list);
        };
        return made;
    }
};

TEST_F(SharedFolder, ANewFolderIsOpenedToTheUsersGroup)
{
    installer::win32::prepare_shared_folder(hooks);
    EXPECT_TRUE(exists(folder()));
    EXPECT_EQ(reads, 1);
    ASSERT_EQ(writes, 1);
    ASSERT_EQ(applied.size(), 1u);
    EXPECT_EQ(applied[0].type, ACCESS_ALLOWED_ACE_TYPE);
    EXPECT_EQ(applied[0].flags, OBJECT_INHERIT_ACE | CONTAINER_INHERIT_ACE);
    EXPECT_EQ(applied[0].mask, static_cast<ACCESS_MASK>(GENERIC_ALL));
}

TEST_F(SharedFolder, AnExistingFolderKeepsItsAccessList)
{
    ASSERT_TRUE(CreateDirectoryW(folder().c_str(), nullptr));
    installer::win32::prepare_shared_folder(hooks);
    EXPECT_EQ(reads, 0);
    EXPECT_EQ(writes, 0);
}

TEST_F(SharedFolder, AnUnreadableAccessListStopsTheStep)
{
    read_result = ERROR_ACCESS_DENIED;
    installer::win32::prepare_shared_folder(hooks);
    EXPECT_TRUE(exists(folder()));
    EXPECT_EQ(reads, 1);
    EXPECT_EQ(writes, 0);
}

TEST_F(SharedFolder, NoCommonFolderMeansNoStep)
{
    hooks.common_app_data = [] { return std::optional<std::wstring>(); };
    installer::win32::prepare_shared_folder(hooks);
    EXPECT_EQ(reads, 0);
    EXPECT_FALSE(exists(folder()));
}

TEST(SharedFolderEntry, GrantsFullInheritableAccessToUsers)
{
    const installer::win32::unique_sid users = installer::win32::make_users_sid();
    ASSERT_TRUE(users);
    EXPECT_EQ(sid_text(users.get()), L"S-1-5-32-545");
    const EXPLICIT_ACCESS_W entry = installer::win32::users_full_access(users.get());
    EXPECT_EQ(entry.grfAccessPermissions, 0x10000000u);
    EXPECT_EQ(entry.grfAccessMode, GRANT_ACCESS);
    EXPECT_EQ(entry.grfInheritance, 3u);
    EXPECT_EQ(entry.Trustee.pMultipleTrustee, nullptr);
    EXPECT_EQ(entry.Trustee.MultipleTrusteeOperation, NO_MULTIPLE_TRUSTEE);
    EXPECT_EQ(entry.Trustee.TrusteeForm, TRUSTEE_IS_SID);
    EXPECT_EQ(entry.Trustee.TrusteeType, TRUSTEE_IS_GROUP);
    EXPECT_EQ(static_cast<PSID>(entry.Trustee.ptstrName), users.get());
}

TEST(SharedFolderPath, IsSkippedWhenItDoesNotFitItsBuffer)
{
    EXPECT_EQ(installer::win32::shared_folder_path(L"C:\\ProgramData"), L"C:\\ProgramData\\Ostrivale\\");
    // 488 + 11 characters and the terminator fill the 500 exactly; one more does not fit.
    const std::wstring fits(488, L'a');
    EXPECT_EQ(installer::win32::shared_folder_path(fits), fits + L"\\Ostrivale\\");
    EXPECT_EQ(installer::win32::shared_folder_path(std::wstring(489, L'a')), std::nullopt);
}

TEST(SharedFolderPath, TheCommonFolderIsTheMachinesProgramData)
{
    const auto base = installer::win32::default_shared_folder_hooks().common_app_data();
    ASSERT_TRUE(base);
    EXPECT_EQ(*base, L"C:\\ProgramData");
}

}  // namespace
