#pragma once

#include <string>

#include "minihost/host.h"

namespace minihost {

// The plug-in's global set-up for as long as this lives: set down on every path out of its holder,
// thrown or returned, so that the plug-in's instance never outlives the run. The plug-in writes its
// start-up banner to the standard error stream during set-up; it is collected here instead, for the
// caller to show or drop.
class GlobalSetup {
public:
    explicit GlobalSetup(Host& host);
    ~GlobalSetup();
    GlobalSetup(const GlobalSetup&) = delete;
    GlobalSetup& operator=(const GlobalSetup&) = delete;

    PF_Err error() const noexcept { return error_; }
    // "## Kyrox 1.0.39", as the plug-in wrote it (without a line end).
    const std::string& banner() const noexcept { return banner_; }

    // Sets the plug-in down now, for a caller that reports the result; the destructor then does nothing.
    PF_Err set_down();

private:
    Host& host_;
    PF_Err error_ = PF_Err_NONE;
    std::string banner_;
    bool set_down_ = false;
};

}  // namespace minihost
