#pragma once

namespace kyrox {

// Runs body(context) under the crash guard. A processor fault or an exception that leaves the body
// is written out as a crash dump, reported to the user and then swallowed.
// Returns true when the body returned normally, false when the guard caught a fault.
bool run_guarded(void (*body)(void*), void* context) noexcept;

template <class F>
bool run_guarded(F& body) noexcept
{
    return run_guarded([](void* c) { (*static_cast<F*>(c))(); }, &body);
}

}  // namespace kyrox
