#include "plugin/platform/crash_dump_platform.h"
#include "plugin/resources/effect_version.h"
#include "plugin/platform/posix/fault_record.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <string_view>

#include <execinfo.h>
#include <fcntl.h>
#include <unistd.h>

namespace kyrox {

namespace {

void write_all(int fd, std::string_view text) noexcept
{
    while (!text.empty()) {
        const ssize_t written = ::write(fd, text.data(), text.size());
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            return;
        }
        text.remove_prefix(static_cast<std::size_t>(written));
    }
}

const char* signal_name(int signal) noexcept
{
    switch (signal) {
    case SIGSEGV:
        return "SIGSEGV";
    case SIGBUS:
        return "SIGBUS";
    case SIGFPE:
        return "SIGFPE";
    case SIGILL:
        return "SIGILL";
    default:
        return "signal";
    }
}

// Closes the report file however writing it ends.
class FileDescriptor {
public:
    explicit FileDescriptor(int fd) noexcept : fd_(fd) {}
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    ~FileDescriptor()
    {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    int get() const noexcept { return fd_; }

private:
    int fd_;
};

}  // namespace

void write_dump_file(const std::filesystem::path& file, const FaultRecord* fault, long thread) noexcept
{
    const FileDescriptor out(::open(file.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644));
    if (out.get() < 0) {
        return;
    }
    char line[512];
    std::snprintf(line, sizeof line, "Kyrox %d.%d.%d crash report\nthread: %ld\n", KYROX_VERSION_MAJOR,
                  KYROX_VERSION_MINOR, KYROX_VERSION_BUILD, thread);
    write_all(out.get(), line);
    if (fault == nullptr) {
        return;
    }
    if (fault->signal != 0) {
        std::snprintf(line, sizeof line, "signal: %d (%s), code %d\naddress: %p\n", fault->signal,
                      signal_name(fault->signal), fault->code, fault->address);
    } else {
        std::snprintf(line, sizeof line, "exception: %s\n", fault->what[0] != '\0' ? fault->what.data() : "unknown");
    }
    write_all(out.get(), line);
    write_all(out.get(), "backtrace:\n");
    backtrace_symbols_fd(fault->stack.data(), fault->stack_depth, out.get());
}

void show_crash_message(const NativeString& message) noexcept
{
    write_all(STDERR_FILENO, message);
    write_all(STDERR_FILENO, "\n");
}

}  // namespace kyrox
