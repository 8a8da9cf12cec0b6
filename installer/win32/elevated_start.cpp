#include "installer/win32/elevated_start.h"

#include "installer/start_up.h"

#include <vector>

namespace installer::win32 {

namespace {

constexpr DWORD first_path_buffer = MAX_PATH;
// The longest path the platform knows.
constexpr DWORD longest_path_buffer = 32768;

}  // namespace

start_up_hooks default_start_up_hooks(std::function<void()> run_installer)
{
    return {
        [](wchar_t* buffer, DWORD size) { return GetModuleFileNameW(GetModuleHandleW(nullptr), buffer, size); },
        [](SHELLEXECUTEINFOW& info) { return ShellExecuteExW(&info) != FALSE; },
        std::move(run_installer),
    };
}

std::optional<std::wstring> own_program_path(const std::function<DWORD(wchar_t*, DWORD)>& module_file_name)
{
    for (DWORD size = first_path_buffer; size <= longest_path_buffer; size *= 2) {
        std::vector<wchar_t> buffer(size, L'\0');
        const DWORD length = module_file_name(buffer.data(), size);
        if (length == 0) {
            return std::nullopt;
        }
        if (length < size) {
            return std::wstring(buffer.data(), length);
        }
    }
    return std::nullopt;
}

int start_installer(std::wstring_view command_line, const start_up_hooks& hooks)
{
    if (has_elevation_marker(command_line)) {
        hooks.run_installer();
        return 0;
    }
    const std::optional<std::wstring> own_path = own_program_path(hooks.module_file_name);
    if (!own_path) {
        return 1;
    }
    const std::wstring parameters(elevation_marker);
    SHELLEXECUTEINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = 0;  // no process handle: the first process does not wait for the second
    info.hwnd = nullptr;
    info.lpVerb = L"runas";
    info.lpFile = own_path->c_str();
    info.lpParameters = parameters.c_str();
    info.lpDirectory = nullptr;
    info.nShow = SW_SHOWDEFAULT;
    return hooks.shell_execute(info) ? 0 : 1;
}

}  // namespace installer::win32
