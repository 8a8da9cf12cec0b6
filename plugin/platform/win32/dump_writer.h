#pragma once

// The dump library is not thread-safe, so one faulting thread at a time writes its dump. A dump can
// itself fault (on a damaged heap, say); that thread then never finishes it but resumes at its guard,
// which gives the writer up for it. A mutex would stay locked instead, and the next fault on any
// thread would wait for it forever.
namespace kyrox::dump_writer {

// Waits until no other thread writes a dump. A thread that finds the writer still its own had a
// dump of its cut short, and carries on.
void acquire() noexcept;
void release() noexcept;
// Releases the writer when this thread holds it; anything else is left alone.
void give_up_on_this_thread() noexcept;

}  // namespace kyrox::dump_writer
