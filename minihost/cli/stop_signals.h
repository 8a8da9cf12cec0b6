#pragma once

#include <signal.h>

#include <array>

#include "minihost/cli/stop_request.h"

namespace minihost {

// While it lives, SIGINT, SIGTERM, SIGHUP and SIGPIPE (the reader of standard output gone, as when a
// run is piped into head) make `stop`'s request instead of ending the process, so that a run ends at
// its next check and removes the file it was writing; one ignored when the program
// started (nohup, a background job) stays ignored. SIGXFSZ is ignored: a write past the file size limit
// then fails as on a full disk, and the temporary file goes the way of any failed write. The handling
// before comes back when it goes. For the process, once at a time.
class StopSignals {
public:
    explicit StopSignals(StopRequest& stop);
    ~StopSignals();
    StopSignals(const StopSignals&) = delete;
    StopSignals& operator=(const StopSignals&) = delete;

    // The signals that request a stop.
    static constexpr std::array<int, 4> stopping = {SIGINT, SIGTERM, SIGHUP, SIGPIPE};

private:
    std::array<struct sigaction, stopping.size()> previous_{};
    struct sigaction previous_file_size_ {};
};

}  // namespace minihost
