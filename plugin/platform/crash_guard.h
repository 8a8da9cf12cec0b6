#pragma once

namespace kyrox {

// Runs body(context) under the crash guard. A processor fault (access violation, division by zero,
// illegal instruction, ...) or an exception that leaves the body is written out as a crash dump
// (write_crash_dump), reported to the user and then swallowed. Any thread may run guards, and
// guards nest: the innermost one of the faulting thread takes the fault.
// Returns true when the body returned normally, false when the guard caught a failure.
//
// A fault abandons the body's frames: their destructors do not run, so what they held (memory,
// locks) stays held. It is meant for failures the body cannot recover from, not for control flow.
bool run_guarded(void (*body)(void*), void* context) noexcept;

template <class F>
bool run_guarded(F& body) noexcept
{
    return run_guarded([](void* c) { (*static_cast<F*>(c))(); }, &body);
}

}  // namespace kyrox
