#include "minihost/cli/progress_report.h"

#include "minihost/cli/progress_report_detail.h"

#include <unistd.h>

#include <cmath>
#include <cstdio>

namespace minihost {
namespace {

std::string duration_text(double seconds)
{
    char text[32];
    if (seconds < 60.0) {
        std::snprintf(text, sizeof text, "%.1f s", seconds);
    } else {
        const long whole = std::lround(seconds);
        std::snprintf(text, sizeof text, "%ld min %02ld s", whole / 60, whole % 60);
    }
    return text;
}

}  // namespace

std::string progress_line(const std::string& noun, int done, int total, double elapsed_seconds)
{
    std::string line = noun + " " + std::to_string(done) + " of " + std::to_string(total) + ", " +
                       duration_text(elapsed_seconds) + " elapsed";
    if (done > 0 && done < total) {
        line += ", about " + duration_text(elapsed_seconds / done * (total - done)) + " left";
    }
    return line;
}

ProgressReport::ProgressReport(std::string noun, int total, std::ostream& terminal, std::ostream& log, bool on_terminal)
    : noun_(std::move(noun)), total_(total), terminal_(terminal), log_(log), on_terminal_(on_terminal)
{
}

void ProgressReport::step_done(const std::string& step_line)
{
    ++done_;
    if (!on_terminal_) {
        log_ << step_line << "\n" << std::flush;
        return;
    }
    const double elapsed = std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count();
    // Erase to the end of the line: the new text may be shorter than the last.
    terminal_ << "\r" << progress_line(noun_, done_, total_, elapsed) << "\x1b[K" << std::flush;
    line_open_ = true;
}

void ProgressReport::finish()
{
    if (line_open_) {
        terminal_ << "\n" << std::flush;
        line_open_ = false;
    }
}

bool stderr_is_terminal() noexcept
{
    return ::isatty(STDERR_FILENO) == 1;
}

}  // namespace minihost
