#include "minihost/cli/stop_signals.h"

#include <atomic>
#include <cstddef>

namespace minihost {
namespace {

// The request the handler makes; a handler has no other way to reach it.
std::atomic<StopRequest*> stop_target{nullptr};
static_assert(std::atomic<StopRequest*>::is_always_lock_free);

extern "C" void request_stop(int signal)
{
    if (StopRequest* stop = stop_target.load()) {
        stop->request(signal);
    }
}

}  // namespace

StopSignals::StopSignals(StopRequest& stop)
{
    stop_target.store(&stop);
    struct sigaction handle {};
    handle.sa_handler = request_stop;
    sigemptyset(&handle.sa_mask);
    // The write or wait a signal lands in goes on rather than failing with EINTR: the run stops at its
    // own next check.
    handle.sa_flags = SA_RESTART;
    for (std::size_t i = 0; i < stopping.size(); ++i) {
        ::sigaction(stopping[i], nullptr, &previous_[i]);
        if (previous_[i].sa_handler != SIG_IGN) {
            ::sigaction(stopping[i], &handle, nullptr);
        }
    }
    struct sigaction ignore {};
    ignore.sa_handler = SIG_IGN;
    sigemptyset(&ignore.sa_mask);
    ::sigaction(SIGXFSZ, &ignore, &previous_file_size_);
}

StopSignals::~StopSignals()
{
    ::sigaction(SIGXFSZ, &previous_file_size_, nullptr);
    for (std::size_t i = 0; i < stopping.size(); ++i) {
        ::sigaction(stopping[i], &previous_[i], nullptr);
    }
    stop_target.store(nullptr);
}

}  // namespace minihost
