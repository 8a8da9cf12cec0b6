#include "installer/host_detection.h"
#include "installer/win32/owned_handles.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <map>
#include <string>
#include <vector>

namespace {

using installer::file_path;
using installer::slot_count;
using installer::win32::unique_hkey;

constexpr REGSAM view_32 = KEY_WOW64_32KEY;
constexpr REGSAM view_64 = KEY_WOW64_64KEY;

// Registry fixtures under HKLM\SOFTWARE\Adobe in the test's own Wine prefix, removed before and
// after each test in both registry views.
class HostDetection : public testing::Test {
protected:
    void SetUp() override { clear(); }
    void TearDown() override { clear(); }

    static void clear()
    {
        for (const REGSAM view : {view_32, view_64}) {
            HKEY software = nullptr;
            if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"SOFTWARE", 0, KEY_ALL_ACCESS | view, &software) == ERROR_SUCCESS) {
                RegDeleteTreeW(software, L"Adobe");
                RegCloseKey(software);
            }
        }
    }

    static void set_value(const std::wstring& release, DWORD type, const void* data, DWORD bytes, REGSAM view = view_64)
    {
        HKEY created = nullptr;
        const std::wstring key = L"SOFTWARE\\Adobe\\After Effects\\" + release;
        ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS | view, nullptr,
                                  &created, nullptr),
                  ERROR_SUCCESS);
        const unique_hkey owner(created);
        ASSERT_EQ(RegSetValueExW(created, L"PluginInstallPath", 0, type, static_cast<const BYTE*>(data), bytes),
                  ERROR_SUCCESS);
    }

    static void set_path(const std::wstring& release, const std::wstring& folder, REGSAM view = view_64)
    {
        set_value(release, REG_SZ, folder.c_str(), static_cast<DWORD>((folder.size() + 1) * sizeof(wchar_t)), view);
    }

    static std::vector<std::wstring> expected(std::map<std::size_t, std::wstring> found)
    {
        std::vector<std::wstring> result(slot_count);
        for (const auto& [slot, folder] : found) {
            result[slot] = folder;
        }
        return result;
    }

    static std::vector<std::wstring> natives(const std::vector<file_path>& folders)
    {
        std::vector<std::wstring> result;
        for (const file_path& folder : folders) {
            result.push_back(folder.native());
        }
        return result;
    }
};

TEST_F(HostDetection, NoKeyGivesNineEmptyFolders)
{
    EXPECT_EQ(natives(installer::detect_host_versions()), expected({}));
}

TEST_F(HostDetection, OnlyTheSixReleaseNamesFillSlots)
{
    set_path(L"9.0", L"C:\\AE9");
    set_path(L"10.0", L"C:\\CS5\\Plug-ins");
    set_path(L"10.01", L"C:\\not");
    set_path(L"10.5", L"C:\\CS55");
    set_path(L"11", L"C:\\CS6");
    set_path(L"11.0", L"C:\\not-CS6");
    set_path(L"12", L"C:\\CC");
    set_path(L"13", L"D:\\CC2014");
    set_path(L"13.5", L"E:\\Adobe\\CC 2015\\Plug-ins\\");
    set_path(L"14.0", L"C:\\AE14");
    EXPECT_EQ(natives(installer::detect_host_versions()), expected({{2, L"C:\\CS5\\Plug-ins"},
                                                                    {3, L"C:\\CS55"},
                                                                    {4, L"C:\\CS6"},
                                                                    {5, L"C:\\CC"},
                                                                    {6, L"D:\\CC2014"},
                                                                    {7, L"E:\\Adobe\\CC 2015\\Plug-ins\\"}}));
}

TEST_F(HostDetection, UnreadableValuesLeaveTheirSlotEmpty)
{
    const DWORD number = 11;
    set_path(L"10.0", L"");                                // empty string
    set_path(L"10.5", std::wstring(255, L'x'));            // does not fit 255 characters with its terminator
    set_path(L"11", std::wstring(254, L'y'));              // just fits
    set_value(L"12", REG_DWORD, &number, sizeof(number));  // not a string
    HKEY without_value = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Adobe\\After Effects\\13", 0, nullptr, 0, KEY_ALL_ACCESS,
                              nullptr, &without_value, nullptr),
              ERROR_SUCCESS);
    RegCloseKey(without_value);
    EXPECT_EQ(natives(installer::detect_host_versions()), expected({{4, std::wstring(254, L'y')}}));
}

TEST_F(HostDetection, ANativeProcessMakesOnePass)
{
    EXPECT_FALSE(installer::running_under_wow64());
    // Only the 32-bit view holds a release: the one pass of a 64-bit process does not see it.
    set_path(L"11", L"C:\\x86\\CS6", view_32);
    EXPECT_EQ(natives(installer::detect_host_versions()), expected({}));
}

TEST_F(HostDetection, ALaterPassReplacesWhatAnEarlierOneFound)
{
    set_path(L"11", L"C:\\x86\\CS6", view_32);
    set_path(L"12", L"C:\\x86\\CC", view_32);
    set_path(L"13", L"C:\\x86\\CC2014", view_32);
    set_path(L"11", L"C:\\x64\\CS6", view_64);
    set_path(L"12", L"", view_64);
    const std::vector<std::uint32_t> passes = {KEY_READ | view_32, KEY_READ | view_64};
    EXPECT_EQ(natives(installer::detect_host_versions(passes)),
              expected({{4, L"C:\\x64\\CS6"}, {6, L"C:\\x86\\CC2014"}}));
}

}  // namespace
