#pragma once

#include <atomic>
#include <stdexcept>
#include <string>

namespace minihost {

// A request that a run stop, made by a signal handler or another thread and seen by the renderer, the
// file writer and the image writers at their next check: the number of the signal that asked, 0 while
// none has. Lock-free, so that a signal handler may make it.
class StopRequest {
public:
    StopRequest() = default;
    StopRequest(const StopRequest&) = delete;
    StopRequest& operator=(const StopRequest&) = delete;

    // A request never made, for work that nothing stops.
    static const StopRequest& never() noexcept;

    // Async-signal-safe. The first request's signal is kept: a second one changes nothing.
    void request(int signal) noexcept
    {
        int none = 0;
        signal_.compare_exchange_strong(none, signal);
    }
    int signal() const noexcept { return signal_.load(); }
    bool requested() const noexcept { return signal() != 0; }

    // Throws Stopped when a stop was requested.
    void throw_if_requested() const;

private:
    static_assert(std::atomic<int>::is_always_lock_free);
    std::atomic<int> signal_{0};
};

// Thrown where work ends on a StopRequest: "interrupted by SIGINT" and what the work had done.
class Stopped : public std::runtime_error {
public:
    explicit Stopped(int signal, const std::string& detail = "");
    int signal() const noexcept { return signal_; }

private:
    int signal_;
};

// "SIGINT" for the signals a run stops on, else "signal N".
std::string signal_name(int signal);

}  // namespace minihost
