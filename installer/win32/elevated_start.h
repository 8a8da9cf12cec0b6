#pragma once
// The program's start: an unmarked start relaunches the program's own file elevated with the marker
// and ends; the marked copy runs the wizard. The platform calls sit behind hooks for the tests.

#include <windows.h>
#include <shellapi.h>

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace installer::win32 {

struct start_up_hooks {
    // GetModuleFileNameW on the program's module: characters copied, the buffer's size when cut.
    std::function<DWORD(wchar_t* buffer, DWORD size)> module_file_name;
    std::function<bool(SHELLEXECUTEINFOW& info)> shell_execute;
    std::function<void()> run_installer;
};

// The real calls around the given wizard runner.
start_up_hooks default_start_up_hooks(std::function<void()> run_installer);

// The program's whole path, with a larger buffer while the path does not fit; nothing when it
// cannot be had (a cut path could start another program elevated).
std::optional<std::wstring> own_program_path(const std::function<DWORD(wchar_t*, DWORD)>& module_file_name);

// The exit code: 0 after the wizard or a started relaunch, 1 when the relaunch failed or the
// program's own path could not be had.
int start_installer(std::wstring_view command_line, const start_up_hooks& hooks);

}  // namespace installer::win32
