#include "plugin/platform/platform.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <ctime>

#include <unistd.h>

namespace kyrox::platform {

void debugger_output(const char* text) noexcept
{
    const char* fd_text = std::getenv("KYROX_DEBUG_FD");
    if (fd_text == nullptr || *fd_text == '\0') {
        return;
    }
    char* end = nullptr;
    const long fd = std::strtol(fd_text, &end, 10);
    if (*end != '\0' || fd < 0 || fd > 1 << 20) {
        return;
    }
    std::size_t left = std::strlen(text);
    while (left > 0) {
        const ssize_t written = ::write(static_cast<int>(fd), text, left);
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            return;
        }
        text += written;
        left -= static_cast<std::size_t>(written);
    }
}

std::int64_t performance_counter() noexcept
{
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<std::int64_t>(ts.tv_sec) * 1'000'000'000 + ts.tv_nsec;
}

std::int64_t performance_frequency() noexcept
{
    return 1'000'000'000;
}

unsigned logical_processor_count() noexcept
{
    const long n = sysconf(_SC_NPROCESSORS_ONLN);
    return n > 0 ? static_cast<unsigned>(n) : 1u;
}

}  // namespace kyrox::platform
