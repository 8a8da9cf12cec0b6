#include "plugin/platform/crash_dump_platform.h"
#include "plugin/platform/win32/dump_writer.h"
#include "plugin/platform/win32/fault_record.h"

#include <atomic>
#include <memory>

#include <windows.h>

#include <dbghelp.h>

namespace kyrox {

namespace {

struct HandleCloser {
    void operator()(HANDLE handle) const noexcept { CloseHandle(handle); }
};

// The thread that writes a dump, 0 for none (no thread has ID 0).
std::atomic<DWORD> dump_writer_thread{0};

// Holds the writer for one dump; a dump cut short by a fault leaves it to dump_writer::give_up_on_this_thread.
class HeldDumpWriter {
public:
    HeldDumpWriter() noexcept { dump_writer::acquire(); }
    ~HeldDumpWriter() { dump_writer::release(); }
    HeldDumpWriter(const HeldDumpWriter&) = delete;
    HeldDumpWriter& operator=(const HeldDumpWriter&) = delete;
};

}  // namespace

namespace dump_writer {

void acquire() noexcept
{
    const DWORD self = GetCurrentThreadId();
    for (DWORD holder = 0; !dump_writer_thread.compare_exchange_weak(holder, self, std::memory_order_acquire);
         holder = 0) {
        if (holder == self) {
            return;
        }
        Sleep(1);
    }
}

void release() noexcept
{
    dump_writer_thread.store(0, std::memory_order_release);
}

void give_up_on_this_thread() noexcept
{
    DWORD self = GetCurrentThreadId();
    dump_writer_thread.compare_exchange_strong(self, 0, std::memory_order_release);
}

}  // namespace dump_writer

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
    const HeldDumpWriter hold;
    MiniDumpWriteDump(GetCurrentProcess(), GetCurrentProcessId(), raw, MiniDumpWithDataSegs,
                      with_exception ? &exception : nullptr, nullptr, nullptr);
}

void show_crash_message(const NativeString& message) noexcept
{
    MessageBoxW(nullptr, message.c_str(), L"Debug", MB_SYSTEMMODAL | MB_OK);
}

}  // namespace kyrox
