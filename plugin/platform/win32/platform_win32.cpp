#include "plugin/platform/platform.h"

#include <windows.h>

#include <shlobj.h>

namespace kyrox::platform {

void debugger_output(const char* text) noexcept
{
    OutputDebugStringA(text);
}

std::int64_t performance_counter() noexcept
{
    LARGE_INTEGER value{};
    QueryPerformanceCounter(&value);
    return value.QuadPart;
}

std::int64_t performance_frequency() noexcept
{
    LARGE_INTEGER value{};
    QueryPerformanceFrequency(&value);
    return value.QuadPart > 0 ? value.QuadPart : 1;
}

unsigned logical_processor_count() noexcept
{
    SYSTEM_INFO info{};
    GetSystemInfo(&info);
    return info.dwNumberOfProcessors > 0 ? info.dwNumberOfProcessors : 1u;
}

LocalTime local_time() noexcept
{
    SYSTEMTIME now{};
    GetLocalTime(&now);
    return {now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond};
}

std::filesystem::path documents_folder()
{
    wchar_t folder[MAX_PATH] = {};
    if (FAILED(SHGetFolderPathW(nullptr, CSIDL_PERSONAL, nullptr, SHGFP_TYPE_CURRENT, folder))) {
        return {};
    }
    return folder;
}

std::filesystem::path temporary_folder()
{
    wchar_t folder[MAX_PATH + 1] = {};
    const DWORD length = GetTempPathW(MAX_PATH, folder);
    if (length == 0 || length > MAX_PATH) {
        return {};
    }
    return folder;
}

void create_folder(const std::filesystem::path& folder) noexcept
{
    CreateDirectoryW(folder.c_str(), nullptr);
}

bool pin_module() noexcept
{
    HMODULE self = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_PIN,
                       reinterpret_cast<LPCWSTR>(&pin_module), &self);
    return true;
}

long process_id() noexcept
{
    return static_cast<long>(GetCurrentProcessId());
}

long current_thread_id() noexcept
{
    return static_cast<long>(GetCurrentThreadId());
}

}  // namespace kyrox::platform
