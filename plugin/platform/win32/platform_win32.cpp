#include "plugin/platform/platform.h"

#include <windows.h>

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

}  // namespace kyrox::platform
