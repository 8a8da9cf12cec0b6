#include "minihost/cli/stop_request.h"

#include <csignal>

namespace minihost {

const StopRequest& StopRequest::never() noexcept
{
    static const StopRequest none;
    return none;
}

void StopRequest::throw_if_requested() const
{
    if (const int stop_signal = signal(); stop_signal != 0) {
        throw Stopped(stop_signal);
    }
}

Stopped::Stopped(int signal, const std::string& detail)
    : std::runtime_error("interrupted by " + signal_name(signal) + (detail.empty() ? "" : " " + detail)),
      signal_(signal)
{
}

std::string signal_name(int signal)
{
    switch (signal) {
    case SIGINT:
        return "SIGINT";
    case SIGTERM:
        return "SIGTERM";
    case SIGHUP:
        return "SIGHUP";
    case SIGPIPE:
        return "SIGPIPE";
    default:
        return "signal " + std::to_string(signal);
    }
}

}  // namespace minihost
