#include "plugin/platform/crash_dump_platform.h"
#include "plugin/platform/win32/fault_record.h"

#include <memory>
#include <mutex>

#include <windows.h>

#include <dbghelp.h>

namespace kyrox {

namespace {

struct HandleCloser {
    void operator()(HANDLE handle) const noexcept { CloseHandle(handle); }
};

}  // namespace

void write_dump_file(const std::filesystem::path& file, const FaultRecord* fault, long) noexcept
{
    const HANDLE raw = CreateFileW(file.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                   nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (raw == INVALID_HANDLE_VALUE) {
        return;
    }
    const std::unique_ptr<void, HandleCloser> out(raw);
    MINIDUMP_EXCEPTION_INFORMATION exception{};
    const bool with_exception = fault != nullptr && fault->pointers != nullptr;
    if (with_exception) {
        exception.ThreadId = GetCurrentThreadId();
        exception.ExceptionPointers = fault->pointers;
        exception.ClientPointers = TRUE;
    }
    // The dump library is not thread-safe, and faults on several threads at once are expected.
    static std::mutex dump_library;
    const std::lock_guard hold(dump_library);
    MiniDumpWriteDump(GetCurrentProcess(), GetCurrentProcessId(), raw, MiniDumpWithDataSegs,
                      with_exception ? &exception : nullptr, nullptr, nullptr);
}

void show_crash_message(const NativeString& message) noexcept
{
    MessageBoxW(nullptr, message.c_str(), L"Debug", MB_SYSTEMMODAL | MB_OK);
}

}  // namespace kyrox
