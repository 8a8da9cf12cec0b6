// The start-up rule through its seam: an unmarked start relaunches elevated with the marker, a
// marked one runs the wizard, the program's own path is never passed on cut short.
#include "installer/win32/elevated_start.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using installer::win32::start_installer;
using installer::win32::start_up_hooks;

struct relaunch {
    std::wstring verb;
    std::wstring file;
    std::wstring parameters;
    ULONG mask = 0;
    int show = 0;
    DWORD size = 0;
    bool directory_null = false;
    bool window_null = false;
};

// A module name of the given length, cut to the buffer as the platform does.
std::function<DWORD(wchar_t*, DWORD)> module_name_of(std::wstring path, std::vector<DWORD>* sizes = nullptr)
{
    return [path, sizes](wchar_t* buffer, DWORD size) -> DWORD {
        if (sizes != nullptr) {
            sizes->push_back(size);
        }
        const DWORD copied = std::min<DWORD>(size - 1, static_cast<DWORD>(path.size()));
        std::copy_n(path.c_str(), copied, buffer);
        buffer[copied] = L'\0';
        return path.size() >= size ? size : copied;
    };
}

struct StartUp : testing::Test {
    start_up_hooks hooks(std::wstring own_path, bool relaunch_starts)
    {
        return {module_name_of(std::move(own_path), &sizes),
                [this, relaunch_starts](SHELLEXECUTEINFOW& info) {
                    relaunches.push_back({info.lpVerb, info.lpFile, info.lpParameters, info.fMask, info.nShow,
                                          info.cbSize, info.lpDirectory == nullptr, info.hwnd == nullptr});
                    return relaunch_starts;
                },
                [this] { ++wizard_runs; }};
    }

    std::vector<relaunch> relaunches;
    std::vector<DWORD> sizes;
    int wizard_runs = 0;
};

TEST_F(StartUp, AMarkedStartRunsTheWizardAndEndsWithZero)
{
    for (const wchar_t* line : {L"/UAC", L"-x/UACy", L"a /UAC b"}) {
        relaunches.clear();
        wizard_runs = 0;
        EXPECT_EQ(start_installer(line, hooks(L"C:\\qxinstaller.exe", false)), 0);
        EXPECT_EQ(wizard_runs, 1);
        EXPECT_TRUE(relaunches.empty());
    }
}

TEST_F(StartUp, AnUnmarkedStartRelaunchesElevatedWithTheMarker)
{
    struct case_ {
        const wchar_t* line;
        bool relaunch_starts;
        int exit_code;
    };
    for (const case_& c : {case_{L"", true, 0}, case_{L"/uac", true, 0}, case_{L"", false, 1}}) {
        relaunches.clear();
        EXPECT_EQ(start_installer(c.line, hooks(L"C:\\Program Files\\qxinstaller.exe", c.relaunch_starts)),
                  c.exit_code);
        ASSERT_EQ(relaunches.size(), 1u);
        const relaunch& r = relaunches[0];
        EXPECT_EQ(r.verb, L"runas");
        EXPECT_EQ(r.file, L"C:\\Program Files\\qxinstaller.exe");
        EXPECT_EQ(r.parameters, L"/UAC");
        EXPECT_EQ(r.mask, 0u);
        EXPECT_EQ(r.show, SW_SHOWDEFAULT);
        EXPECT_EQ(r.size, sizeof(SHELLEXECUTEINFOW));
        EXPECT_TRUE(r.directory_null);
        EXPECT_TRUE(r.window_null);
    }
    EXPECT_EQ(wizard_runs, 0);
}

TEST_F(StartUp, ALongOwnPathIsAskedForAgainWithALargerBuffer)
{
    const std::wstring long_path = L"C:\\" + std::wstring(400, L'd') + L"\\qxinstaller.exe";
    EXPECT_EQ(start_installer(L"", hooks(long_path, true)), 0);
    ASSERT_EQ(relaunches.size(), 1u);
    EXPECT_EQ(relaunches[0].file, long_path);
    EXPECT_EQ(sizes, (std::vector<DWORD>{260, 520}));
}

TEST_F(StartUp, AnOwnPathThatCannotBeHadRelaunchesNothing)
{
    start_up_hooks failing = hooks(L"", true);
    failing.module_file_name = [](wchar_t*, DWORD) -> DWORD { return 0; };
    EXPECT_EQ(start_installer(L"", failing), 1);
    start_up_hooks endless = hooks(std::wstring(40000, L'x'), true);
    EXPECT_EQ(start_installer(L"", endless), 1);
    EXPECT_TRUE(relaunches.empty());
    EXPECT_EQ(wizard_runs, 0);
}

TEST_F(StartUp, TheRealModuleNameIsThisProgram)
{
    const auto path = installer::win32::own_program_path(installer::win32::default_start_up_hooks({}).module_file_name);
    ASSERT_TRUE(path.has_value());
    EXPECT_NE(path->find(L"qxinstaller_win32_tests.exe"), std::wstring::npos);
}

}  // namespace
