#pragma once

#include <exception>

// No exception may unwind through the platform's message dispatch (64-bit Windows does not support it).
// The window procedure keeps what a handler threw here instead, and the toolkit call that handed control to
// the platform (the modal loop's dispatch, or an operation whose platform call sent messages) throws it
// again once the platform has returned. One slot per thread: the UI runs on one thread.
namespace qxsdk::ui {

// Keeps the exception unless one is already kept: the first failure is the one reported.
void keep_caught_exception(std::exception_ptr caught) noexcept;

// Throws the kept exception, if any, and empties the slot.
void rethrow_caught_exception();

}  // namespace qxsdk::ui
