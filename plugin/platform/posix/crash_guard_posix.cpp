// The crash guard on POSIX systems: processor faults arrive as signals. The handler, running on an
// alternate stack, records the fault and jumps back to the innermost guard of its thread; the
// report is then written in ordinary context, where allocation and file output are safe.
#include "plugin/platform/crash_guard.h"

#include "plugin/platform/crash_dump.h"
#include "plugin/platform/posix/fault_record.h"

#include <array>
#include <csetjmp>
#include <csignal>
#include <cstddef>
#include <cstring>
#include <exception>
#include <memory>
#include <new>

#include <execinfo.h>
#include <pthread.h>

namespace kyrox {

namespace {

constexpr std::array<int, 4> fault_signals{SIGSEGV, SIGBUS, SIGFPE, SIGILL};

// One active guard on a thread's stack; nested guards chain through `outer`.
struct GuardFrame {
    sigjmp_buf resume;
    GuardFrame* outer = nullptr;
    FaultRecord* fault = nullptr;
    volatile sig_atomic_t faulted = 0;
};

void on_fault(int signal_number, siginfo_t* info, void* context);

// The process-wide part: the fault handlers and the thread slot holding each thread's innermost
// guard. The previous handlers come back when the library is unloaded, so no handler is left
// pointing into unmapped code.
class FaultHandlers {
public:
    FaultHandlers() noexcept
    {
        pthread_key_create(&innermost_, nullptr);
        // The first backtrace() loads the unwinder, which allocates; a signal handler must not.
        std::array<void*, 1> warm_up{};
        backtrace(warm_up.data(), 1);

        struct sigaction action {};
        action.sa_sigaction = on_fault;
        action.sa_flags = SA_SIGINFO | SA_ONSTACK | SA_NODEFER;
        sigemptyset(&action.sa_mask);
        for (std::size_t i = 0; i < fault_signals.size(); ++i) {
            sigaction(fault_signals[i], &action, &previous_[i]);
        }
    }

    FaultHandlers(const FaultHandlers&) = delete;
    FaultHandlers& operator=(const FaultHandlers&) = delete;

    ~FaultHandlers()
    {
        for (std::size_t i = 0; i < fault_signals.size(); ++i) {
            struct sigaction current {};
            if (sigaction(fault_signals[i], nullptr, &current) == 0 && (current.sa_flags & SA_SIGINFO) != 0 &&
                current.sa_sigaction == on_fault) {
                sigaction(fault_signals[i], &previous_[i], nullptr);
            }
        }
        pthread_key_delete(innermost_);
    }

    GuardFrame* innermost() const noexcept { return static_cast<GuardFrame*>(pthread_getspecific(innermost_)); }
    void set_innermost(GuardFrame* frame) const noexcept { pthread_setspecific(innermost_, frame); }

    // Hands a signal no guard takes to whoever handled it before us (a sanitizer runtime, the
    // host), or to the system's default action.
    void pass_on(int signal_number, siginfo_t* info, void* context) const noexcept
    {
        for (std::size_t i = 0; i < fault_signals.size(); ++i) {
            if (fault_signals[i] != signal_number) {
                continue;
            }
            const struct sigaction& previous = previous_[i];
            if ((previous.sa_flags & SA_SIGINFO) != 0) {
                previous.sa_sigaction(signal_number, info, context);
                return;
            }
            if (previous.sa_handler != SIG_DFL && previous.sa_handler != SIG_IGN) {
                previous.sa_handler(signal_number);
                return;
            }
        }
        // A real fault repeats when the handler returns and then ends the process the default way;
        // a signal someone sent has to be raised again.
        std::signal(signal_number, SIG_DFL);
        if (info->si_code <= 0) {
            std::raise(signal_number);
        }
    }

private:
    pthread_key_t innermost_{};
    std::array<struct sigaction, fault_signals.size()> previous_{};
};

const FaultHandlers& fault_handlers() noexcept
{
    static const FaultHandlers handlers;
    return handlers;
}

void record_stack(FaultRecord& fault) noexcept
{
    fault.stack_depth = backtrace(fault.stack.data(), static_cast<int>(fault.stack.size()));
}

void on_fault(int signal_number, siginfo_t* info, void* context)
{
    const FaultHandlers& handlers = fault_handlers();
    GuardFrame* frame = handlers.innermost();
    // si_code > 0: raised by the processor, not sent by a process.
    if (frame == nullptr || info->si_code <= 0) {
        handlers.pass_on(signal_number, info, context);
        return;
    }
    if (frame->faulted == 0) {
        frame->faulted = 1;
        FaultRecord& fault = *frame->fault;
        fault.signal = signal_number;
        fault.code = info->si_code;
        fault.address = info->si_addr;
        record_stack(fault);
    }
    siglongjmp(frame->resume, 1);
}

// A stack for the fault handler, so that even a stack overflow reaches it. A thread that already
// has one (sanitizer runtimes give every thread their own) keeps it.
class AlternateStack {
public:
    AlternateStack() noexcept
    {
        stack_t current{};
        if (sigaltstack(nullptr, &current) != 0 || (current.ss_flags & SS_DISABLE) == 0) {
            return;
        }
        memory_.reset(new (std::nothrow) std::byte[size]);
        if (memory_ == nullptr) {
            return;
        }
        stack_t ours{};
        ours.ss_sp = memory_.get();
        ours.ss_size = size;
        if (sigaltstack(&ours, nullptr) != 0) {
            memory_.reset();
        }
    }

    AlternateStack(const AlternateStack&) = delete;
    AlternateStack& operator=(const AlternateStack&) = delete;

    ~AlternateStack()
    {
        stack_t current{};
        if (memory_ != nullptr && sigaltstack(nullptr, &current) == 0 && current.ss_sp == memory_.get()) {
            stack_t off{};
            off.ss_flags = SS_DISABLE;
            sigaltstack(&off, nullptr);
        }
    }

private:
    static constexpr std::size_t size = 64 * 1024;
    std::unique_ptr<std::byte[]> memory_;
};

// Runs the body and turns an exception that leaves it into the fault record. Kept apart from the
// function that sets the jump target, so no exception handling shares a frame with sigsetjmp.
[[gnu::noinline]] bool run_catching(void (*body)(void*), void* context, FaultRecord& fault) noexcept
{
    try {
        body(context);
        return true;
    } catch (const std::exception& error) {
        std::strncpy(fault.what.data(), error.what(), fault.what.size() - 1);
    } catch (...) {
    }
    record_stack(fault);
    return false;
}

// Runs the body; false when it threw or faulted, with what happened in `fault`.
bool run_trapped(void (*body)(void*), void* context, FaultRecord& fault) noexcept
{
    const FaultHandlers& handlers = fault_handlers();
    [[maybe_unused]] thread_local AlternateStack alternate_stack;

    GuardFrame frame;
    frame.outer = handlers.innermost();
    frame.fault = &fault;
    handlers.set_innermost(&frame);
    volatile bool returned = false;
    if (sigsetjmp(frame.resume, 1) == 0) {
        returned = run_catching(body, context, fault);
    }
    handlers.set_innermost(frame.outer);
    return returned;
}

}  // namespace

bool run_guarded(void (*body)(void*), void* context) noexcept
{
    FaultRecord fault;
    if (run_trapped(body, context, fault)) {
        return true;
    }
    // A failure while reporting must not take the process down; it goes unreported.
    FaultRecord reporting_fault;
    run_trapped([](void* record) { write_crash_dump(static_cast<const FaultRecord*>(record)); }, &fault,
                reporting_fault);
    return false;
}

}  // namespace kyrox
