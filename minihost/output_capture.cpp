#include "minihost/output_capture.h"

#include <cstdlib>
#include <stdexcept>

#if defined(_WIN32)
#include <io.h>
#include <windows.h>

#include <mutex>
#else
#include <unistd.h>
#endif

namespace minihost {

namespace {

std::FILE* open_temporary()
{
    std::FILE* file = std::tmpfile();
    if (file == nullptr) {
        throw std::runtime_error("minihost: cannot create a temporary file");
    }
    return file;
}

std::string read_all(std::FILE* file)
{
    std::string text;
    std::fflush(file);
    std::fseek(file, 0, SEEK_SET);
    char buffer[4096];
    std::size_t count = 0;
    while ((count = std::fread(buffer, 1, sizeof buffer, file)) > 0) {
        text.append(buffer, count);
    }
    return text;
}

#if defined(_WIN32)
int duplicate(int fd)
{
    return _dup(fd);
}
int duplicate_to(int fd, int target)
{
    return _dup2(fd, target);
}
int close_fd(int fd)
{
    return _close(fd);
}
int fd_of(std::FILE* file)
{
    return _fileno(file);
}
#else
int duplicate(int fd)
{
    return dup(fd);
}
int duplicate_to(int fd, int target)
{
    return dup2(fd, target);
}
int close_fd(int fd)
{
    return close(fd);
}
int fd_of(std::FILE* file)
{
    return fileno(file);
}
#endif

}  // namespace

#if defined(_WIN32)

namespace {

constexpr DWORD debug_print_exception = 0x40010006;  // DBG_PRINTEXCEPTION_C

std::mutex& captured_mutex()
{
    static std::mutex mutex;
    return mutex;
}

std::string& captured_text()
{
    static std::string text;
    return text;
}

LONG CALLBACK on_debug_print(EXCEPTION_POINTERS* info)
{
    const EXCEPTION_RECORD& record = *info->ExceptionRecord;
    if (record.ExceptionCode != debug_print_exception || record.NumberParameters < 2) {
        return EXCEPTION_CONTINUE_SEARCH;
    }
    const auto length = static_cast<std::size_t>(record.ExceptionInformation[0]);
    const auto* text = reinterpret_cast<const char*>(record.ExceptionInformation[1]);
    if (text != nullptr && length > 0) {
        const std::lock_guard lock(captured_mutex());
        captured_text().append(text, text[length - 1] == '\0' ? length - 1 : length);
    }
    return EXCEPTION_CONTINUE_EXECUTION;
}

}  // namespace

DebugOutputCapture::DebugOutputCapture()
{
    {
        const std::lock_guard lock(captured_mutex());
        captured_text().clear();
    }
    handler_ = AddVectoredExceptionHandler(1, &on_debug_print);
    if (handler_ == nullptr) {
        throw std::runtime_error("minihost: cannot install the debugger output handler");
    }
}

DebugOutputCapture::~DebugOutputCapture()
{
    RemoveVectoredExceptionHandler(handler_);
}

std::string DebugOutputCapture::text() const
{
    const std::lock_guard lock(captured_mutex());
    return captured_text();
}

#else

DebugOutputCapture::DebugOutputCapture() : file_(open_temporary())
{
    if (const char* previous = std::getenv("KYROX_DEBUG_FD")) {
        previous_fd_ = previous;
        had_previous_ = true;
    }
    setenv("KYROX_DEBUG_FD", std::to_string(fd_of(file_)).c_str(), 1);
}

DebugOutputCapture::~DebugOutputCapture()
{
    if (had_previous_) {
        setenv("KYROX_DEBUG_FD", previous_fd_.c_str(), 1);
    } else {
        unsetenv("KYROX_DEBUG_FD");
    }
    std::fclose(file_);
}

std::string DebugOutputCapture::text() const
{
    return read_all(file_);
}

#endif

StderrCapture::StderrCapture() : file_(open_temporary())
{
    std::fflush(stderr);
    saved_fd_ = duplicate(2);
    if (saved_fd_ < 0 || duplicate_to(fd_of(file_), 2) < 0) {
        std::fclose(file_);
        throw std::runtime_error("minihost: cannot redirect the standard error stream");
    }
}

StderrCapture::~StderrCapture()
{
    finish();
}

std::string StderrCapture::finish()
{
    if (file_ != nullptr) {
        std::fflush(stderr);
        duplicate_to(saved_fd_, 2);
        close_fd(saved_fd_);
        text_ = read_all(file_);
        std::fclose(file_);
        file_ = nullptr;
    }
    return text_;
}

}  // namespace minihost
