#pragma once

#include <chrono>
#include <ostream>
#include <string>

namespace minihost {

// Progress of a run of steps. On a terminal: one line on `terminal`, rewritten after each step.
// Elsewhere (a log, a pipe): each step's own line on `log`, which a terminal would only scroll away.
// A run that ends early ends the progress line too, so that its error starts a line of its own.
class ProgressReport {
public:
    ProgressReport(std::string noun, int total, std::ostream& terminal, std::ostream& log, bool on_terminal);
    ~ProgressReport() { finish(); }
    ProgressReport(const ProgressReport&) = delete;
    ProgressReport& operator=(const ProgressReport&) = delete;

    void step_done(const std::string& step_line);
    // Ends the progress line, so that what follows starts on a line of its own. Once: later calls
    // do nothing.
    void finish();

private:
    std::string noun_;
    int total_;
    int done_ = 0;
    std::ostream& terminal_;
    std::ostream& log_;
    bool on_terminal_;
    bool line_open_ = false;  // the progress line waits for its end
    std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
};

// True when standard error is a terminal.
bool stderr_is_terminal() noexcept;

}  // namespace minihost
