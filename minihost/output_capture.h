#pragma once

#include <cstdio>
#include <string>

namespace minihost {

// Collects what the plug-in writes to the debugger output while the capture lives. On POSIX the
// plug-in writes to the descriptor named by KYROX_DEBUG_FD; on Windows OutputDebugStringA raises
// DBG_PRINTEXCEPTION_C, which a vectored handler of the capture reads. One capture at a time.
class DebugOutputCapture {
public:
    DebugOutputCapture();
    ~DebugOutputCapture();
    DebugOutputCapture(const DebugOutputCapture&) = delete;
    DebugOutputCapture& operator=(const DebugOutputCapture&) = delete;

    // Everything captured so far.
    std::string text() const;

private:
#if defined(_WIN32)
    void* handler_ = nullptr;
#else
    std::FILE* file_ = nullptr;
    std::string previous_fd_;
    bool had_previous_ = false;
#endif
};

// Collects what is written to the standard error stream (descriptor 2) while the capture lives.
class StderrCapture {
public:
    StderrCapture();
    ~StderrCapture();
    StderrCapture(const StderrCapture&) = delete;
    StderrCapture& operator=(const StderrCapture&) = delete;

    // Ends the capture (when not ended yet) and returns what was written.
    std::string finish();

private:
    std::FILE* file_ = nullptr;
    int saved_fd_ = -1;
    std::string text_;
};

}  // namespace minihost
