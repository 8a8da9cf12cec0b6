#include "plugin/platform/platform.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fstream>
#include <string>
#include <string_view>
#include <system_error>

#include <sys/stat.h>
#include <unistd.h>

namespace kyrox::platform {

namespace {

std::filesystem::path environment_path(const char* name)
{
    const char* value = std::getenv(name);
    return value != nullptr ? std::filesystem::path(value) : std::filesystem::path();
}

// The documents entry of the user's XDG folder list ("$HOME/..." or an absolute path), if any.
std::filesystem::path xdg_documents_entry(const std::filesystem::path& home)
{
    std::filesystem::path config = environment_path("XDG_CONFIG_HOME");
    if (config.empty() || !config.is_absolute()) {
        config = home / ".config";
    }
    std::ifstream list(config / "user-dirs.dirs");
    constexpr std::string_view key = "XDG_DOCUMENTS_DIR=";
    for (std::string line; std::getline(list, line);) {
        std::string_view value(line);
        if (!value.starts_with(key)) {
            continue;
        }
        value.remove_prefix(key.size());
        if (value.size() >= 2 && value.front() == '"' && value.back() == '"') {
            value = value.substr(1, value.size() - 2);
        }
        constexpr std::string_view home_prefix = "$HOME";
        if (value.starts_with(home_prefix)) {
            return home.string() + std::string(value.substr(home_prefix.size()));
        }
        return value.starts_with('/') ? std::filesystem::path(value) : std::filesystem::path();
    }
    return {};
}

bool is_folder(const std::filesystem::path& path)
{
    std::error_code error;
    return !path.empty() && std::filesystem::is_directory(path, error);
}

}  // namespace

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

LocalTime local_time() noexcept
{
    const std::time_t now = std::time(nullptr);
    std::tm parts{};
    localtime_r(&now, &parts);
    return {parts.tm_year + 1900, parts.tm_mon + 1, parts.tm_mday, parts.tm_hour, parts.tm_min, parts.tm_sec};
}

std::filesystem::path documents_folder()
{
    const std::filesystem::path home = environment_path("HOME");
    if (!home.is_absolute()) {
        return {};
    }
    for (const std::filesystem::path& candidate : {xdg_documents_entry(home), home / "Documents"}) {
        if (is_folder(candidate)) {
            return candidate;
        }
    }
    return {};
}

std::filesystem::path temporary_folder()
{
    const std::filesystem::path folder = environment_path("TMPDIR");
    return is_folder(folder) ? folder : std::filesystem::path("/tmp");
}

void create_folder(const std::filesystem::path& folder) noexcept
{
    ::mkdir(folder.c_str(), 0777);
}

bool pin_module() noexcept
{
    return false;
}

long process_id() noexcept
{
    return static_cast<long>(::getpid());
}

long current_thread_id() noexcept
{
    return static_cast<long>(::gettid());
}

}  // namespace kyrox::platform
