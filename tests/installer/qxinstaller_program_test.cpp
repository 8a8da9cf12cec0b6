// The built qxinstaller.exe end to end: started as a user would start it, driven with real input,
// checked by what it writes, by its relaunch and by its exit codes.
#include "installer/win32/owned_handles.h"
#include "tests/installer/win32_test_support.h"
#include "tests/installer/wizard_test_support.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <string>

namespace {

using installer::win32::unique_handle;
using installer_test::ScratchFolder;
using namespace std::chrono_literals;

constexpr const wchar_t* wizard_title = L"Kyrox for After Effects Installer";

// Waits without a message loop of its own: the installer is another process.
template <class Test>
bool wait_for(Test test, std::chrono::milliseconds limit)
{
    const auto end = std::chrono::steady_clock::now() + limit;
    while (!test()) {
        if (std::chrono::steady_clock::now() >= end) {
            return false;
        }
        Sleep(20);
    }
    return true;
}

// A started installer process; one that a failed test leaves running is ended with the test.
class installer_process {
public:
    explicit installer_process(HANDLE process = nullptr) : process_(process) {}
    ~installer_process()
    {
        if (process_ && WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT) {
            TerminateProcess(process_.get(), 99);
        }
    }
    installer_process(installer_process&&) = default;
    explicit operator bool() const { return static_cast<bool>(process_); }
    HANDLE get() const { return process_.get(); }

private:
    unique_handle process_;
};

installer_process start_installer(const std::wstring& arguments)
{
    std::wstring command = L"\"" + kyrox_test::windows_path_of_build_file(KYROX_INSTALLER_PATH) + L"\"";
    if (!arguments.empty()) {
        command += L" " + arguments;
    }
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process) ==
        FALSE) {
        ADD_FAILURE() << "qxinstaller.exe did not start: " << GetLastError();
        return installer_process();
    }
    CloseHandle(process.hThread);
    return installer_process(process.hProcess);
}

HWND find_window(const wchar_t* title)
{
    HWND found = nullptr;
    wait_for([&] { return (found = FindWindowW(nullptr, title)) != nullptr && IsWindowVisible(found); }, 20000ms);
    return found;
}

// The exit code once the process has ended; STILL_ACTIVE when it does not end in time.
DWORD exit_code_of(HANDLE process, DWORD limit_ms = 20000)
{
    WaitForSingleObject(process, limit_ms);
    DWORD code = STILL_ACTIVE;
    GetExitCodeProcess(process, &code);
    return code;
}

void click_client(HWND window, POINT at)
{
    ClientToScreen(window, &at);
    SetForegroundWindow(window);
    SetCursorPos(at.x, at.y);
    Sleep(50);
    window_test::send_mouse(MOUSEEVENTF_LEFTDOWN);
    window_test::send_mouse(MOUSEEVENTF_LEFTUP);
    Sleep(250);
}

// The centres of the wizard's Next and Cancel buttons in its client area.
constexpr POINT next_button{290 + 42, 320 + 15};
constexpr POINT cancel_button{405 + 42, 320 + 15};

class InstallerProgram : public ::testing::Test {
protected:
    InstallerProgram() { SetCursorPos(5, 5); }
    wizard_test::host_registry registry;
};

TEST_F(InstallerProgram, AMarkedStartInstallsTheDetectedVersionAndFinishEndsWithZero)
{
    ScratchFolder folder(L"qxinstaller-e2e");
    wizard_test::host_registry::set_path(L"11", folder.path());
    const installer_process process = start_installer(L"/UAC");
    ASSERT_TRUE(process);
    const HWND window = find_window(wizard_title);
    ASSERT_NE(window, nullptr);
    RECT client{};
    GetClientRect(window, &client);
    EXPECT_EQ(client.right, 500);
    EXPECT_EQ(client.bottom, 360);
    // One Next for each page after the greeting.
    for (std::size_t click = 1; click < installer::ui::wizard_pages.size(); ++click) {
        click_client(window, next_button);
    }
    const std::wstring plugin = folder.path() + L"\\Ostrivale\\Kyrox.aex";
    ASSERT_TRUE(wait_for([&] { return installer_test::exists(plugin); }, 15000ms));
    Sleep(1000);  // a tick or two: Cancel reads Finish now
    const std::optional<window_test::screen_grab> grab = window_test::grab_screen("qxinstaller-finished");
    ASSERT_TRUE(grab);
    wizard_test::expect_wizard_frame(*grab, window, {});
    click_client(window, cancel_button);
    EXPECT_EQ(exit_code_of(process.get()), 0u);
    EXPECT_EQ(installer_test::read_file(plugin), installer_test::read_file(installer_test::built_plugin_path()));
}

TEST_F(InstallerProgram, AnUnmarkedStartRelaunchesItselfAndAConfirmedCancelEndsTheCopy)
{
    const installer_process first = start_installer(L"");
    ASSERT_TRUE(first);
    EXPECT_EQ(exit_code_of(first.get()), 0u);
    const HWND window = find_window(wizard_title);
    ASSERT_NE(window, nullptr);
    DWORD copy_id = 0;
    GetWindowThreadProcessId(window, &copy_id);
    EXPECT_NE(copy_id, GetProcessId(first.get()));
    const installer_process copy(
        OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, copy_id));
    ASSERT_TRUE(copy);
    click_client(window, cancel_button);
    const HWND question = find_window(L"Exit Installer");
    ASSERT_NE(question, nullptr);
    SetForegroundWindow(question);
    window_test::press_key(VK_RETURN);  // OK has the focus
    EXPECT_EQ(exit_code_of(copy.get()), 0u);
}

TEST_F(InstallerProgram, TheCloseBoxEndsTheWizardWithZero)
{
    const installer_process process = start_installer(L"/UAC");
    ASSERT_TRUE(process);
    const HWND window = find_window(wizard_title);
    ASSERT_NE(window, nullptr);
    PostMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(exit_code_of(process.get()), 0u);
}

}  // namespace
