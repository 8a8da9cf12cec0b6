// The crash guard on Windows. The compiler offers no structured-exception blocks, so a vectored
// exception handler takes the processor faults of threads that run a guard: it writes the dump
// right there, while the faulting stack is intact, then lets the system resume the thread in a
// small function that jumps back to the innermost guard. Thrown exceptions are caught in the
// ordinary way and reported from the guard, and so is a stack overflow, which leaves too little
// stack to write a dump where it happened.
#include "plugin/platform/crash_guard.h"

#include "plugin/platform/crash_dump.h"
#include "plugin/platform/win32/dump_writer.h"
#include "plugin/platform/win32/fault_record.h"

#include <windows.h>

namespace kyrox {

namespace {

// A fault the guard reports once the thread is back with it: a copy of what the system said.
struct DeferredFault {
    DeferredFault() noexcept : pointers{&record, &context} {}
    DeferredFault(const DeferredFault&) = delete;
    DeferredFault& operator=(const DeferredFault&) = delete;

    EXCEPTION_RECORD record{};
    CONTEXT context{};
    EXCEPTION_POINTERS pointers;
};

// One active guard on a thread's stack; nested guards chain through `outer`.
struct GuardFrame {
    void* resume[5] = {};
    GuardFrame* outer = nullptr;
    // Where a stack overflow is kept for reporting; null when nothing is to be reported.
    DeferredFault* deferred = nullptr;
    // Set once the fault has been reported (or when nothing is to be reported): a fault while
    // reporting only jumps back.
    volatile LONG reported = 0;
};

LONG CALLBACK on_exception(EXCEPTION_POINTERS* pointers);

// The process-wide part: the handler and the thread slot holding each thread's innermost guard.
// The handler is removed when the library is unloaded, so it never points into unmapped code.
class ExceptionHandler {
public:
    ExceptionHandler() noexcept : slot_(TlsAlloc()), handle_(AddVectoredExceptionHandler(1, on_exception)) {}

    ExceptionHandler(const ExceptionHandler&) = delete;
    ExceptionHandler& operator=(const ExceptionHandler&) = delete;

    ~ExceptionHandler()
    {
        if (handle_ != nullptr) {
            RemoveVectoredExceptionHandler(handle_);
        }
        if (slot_ != TLS_OUT_OF_INDEXES) {
            TlsFree(slot_);
        }
    }

    // Leaves the thread's last-error value alone: the handler also sees faults it passes on.
    GuardFrame* innermost() const noexcept
    {
        const DWORD last_error = GetLastError();
        auto* frame = static_cast<GuardFrame*>(TlsGetValue(slot_));
        SetLastError(last_error);
        return frame;
    }

    void set_innermost(GuardFrame* frame) const noexcept { TlsSetValue(slot_, frame); }

private:
    DWORD slot_;
    void* handle_;
};

const ExceptionHandler& exception_handler() noexcept
{
    static const ExceptionHandler handler;
    return handler;
}

bool is_processor_fault(DWORD code) noexcept
{
    switch (code) {
    case EXCEPTION_ACCESS_VIOLATION:
    case EXCEPTION_ARRAY_BOUNDS_EXCEEDED:
    case EXCEPTION_DATATYPE_MISALIGNMENT:
    case EXCEPTION_FLT_DENORMAL_OPERAND:
    case EXCEPTION_FLT_DIVIDE_BY_ZERO:
    case EXCEPTION_FLT_INEXACT_RESULT:
    case EXCEPTION_FLT_INVALID_OPERATION:
    case EXCEPTION_FLT_OVERFLOW:
    case EXCEPTION_FLT_STACK_CHECK:
    case EXCEPTION_FLT_UNDERFLOW:
    case EXCEPTION_ILLEGAL_INSTRUCTION:
    case EXCEPTION_IN_PAGE_ERROR:
    case EXCEPTION_INT_DIVIDE_BY_ZERO:
    case EXCEPTION_INT_OVERFLOW:
    case EXCEPTION_PRIV_INSTRUCTION:
    case EXCEPTION_STACK_OVERFLOW:
    case STATUS_FLOAT_MULTIPLE_FAULTS:
    case STATUS_FLOAT_MULTIPLE_TRAPS:
        return true;
    default:
        return false;
    }
}

// Where a faulting thread resumes: the jump runs in ordinary context, after the system has
// finished dispatching the exception. A fault inside this thread's own dump leaves the dump writer
// held, which the jump would strand.
[[noreturn, gnu::noinline]] void resume_at_guard(GuardFrame* frame)
{
    dump_writer::give_up_on_this_thread();
    __builtin_longjmp(frame->resume, 1);
}

LONG CALLBACK on_exception(EXCEPTION_POINTERS* pointers)
{
    if (!is_processor_fault(pointers->ExceptionRecord->ExceptionCode)) {
        return EXCEPTION_CONTINUE_SEARCH;
    }
    GuardFrame* frame = exception_handler().innermost();
    if (frame == nullptr) {
        return EXCEPTION_CONTINUE_SEARCH;
    }
    if (InterlockedExchange(&frame->reported, 1) == 0) {
        if (pointers->ExceptionRecord->ExceptionCode == EXCEPTION_STACK_OVERFLOW) {
            frame->deferred->record = *pointers->ExceptionRecord;
            frame->deferred->record.ExceptionRecord = nullptr;
            frame->deferred->context = *pointers->ContextRecord;
        } else {
            const FaultRecord fault{pointers};
            write_crash_dump(&fault);
        }
    }
    // Call resume_at_guard(frame) on the faulting stack, just below where it failed, aligned as
    // a call would leave it.
    CONTEXT& cpu = *pointers->ContextRecord;
    cpu.Rcx = reinterpret_cast<DWORD64>(frame);
    cpu.Rsp = ((cpu.Rsp - 256) & ~DWORD64{15}) - 8;
    cpu.Rip = reinterpret_cast<DWORD64>(&resume_at_guard);
    return EXCEPTION_CONTINUE_EXECUTION;
}

enum class Outcome { returned, threw, faulted };

// Runs the body and catches what it throws. Kept apart from the function that sets the jump
// target, so no exception handling shares a frame with it.
[[gnu::noinline]] Outcome run_catching(void (*body)(void*), void* context) noexcept
{
    try {
        body(context);
        return Outcome::returned;
    } catch (...) {
        return Outcome::threw;
    }
}

// Runs the body with its faults reported, a stack overflow into `deferred`; with no `deferred`,
// faults are not reported at all.
Outcome run_trapped(void (*body)(void*), void* context, DeferredFault* deferred) noexcept
{
    const ExceptionHandler& handler = exception_handler();
    GuardFrame frame;
    frame.outer = handler.innermost();
    frame.deferred = deferred;
    frame.reported = deferred != nullptr ? 0 : 1;
    handler.set_innermost(&frame);
    volatile Outcome outcome = Outcome::faulted;
    if (__builtin_setjmp(frame.resume) == 0) {
        outcome = run_catching(body, context);
    }
    handler.set_innermost(frame.outer);
    return outcome;
}

// A failure while reporting must not take the process down; it goes unreported.
void report_from_guard(FaultRecord fault) noexcept
{
    run_trapped([](void* record) { write_crash_dump(static_cast<const FaultRecord*>(record)); }, &fault, nullptr);
}

}  // namespace

bool run_guarded(void (*body)(void*), void* context) noexcept
{
    DeferredFault deferred;
    switch (run_trapped(body, context, &deferred)) {
    case Outcome::returned:
        return true;
    case Outcome::threw:
        report_from_guard(FaultRecord{});
        break;
    case Outcome::faulted:
        if (deferred.record.ExceptionCode != 0) {
            report_from_guard(FaultRecord{&deferred.pointers});
        }
        break;
    }
    return false;
}

}  // namespace kyrox
