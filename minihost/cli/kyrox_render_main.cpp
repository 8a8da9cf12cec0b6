// kyrox-render: the program's flow is run_kyrox_render, which tests and fuzzing call as well. Here are
// what only a process has: its signals and its standard descriptors.
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <iostream>
#include <string_view>
#include <vector>

#include "minihost/cli/kyrox_render_run.h"
#include "minihost/cli/stop_request.h"
#include "minihost/cli/stop_signals.h"

namespace {

// A standard descriptor the program was started without is opened on /dev/null, so that no file the
// program opens takes its number and receives its messages. Standard output closed stays a failure.
void hold_standard_descriptors()
{
    // Lowest first: open takes the lowest free number, so it fills the descriptor missing.
    for (const int descriptor : {STDIN_FILENO, STDOUT_FILENO, STDERR_FILENO}) {
        if (::fcntl(descriptor, F_GETFD) == -1 && errno == EBADF) {
            ::open("/dev/null", descriptor == STDIN_FILENO ? O_RDONLY : O_WRONLY);
            if (descriptor == STDOUT_FILENO) {
                std::cout.setstate(std::ios::badbit);
            }
        }
    }
}

}  // namespace

int main(int argc, char** argv)
{
    hold_standard_descriptors();
    minihost::StopRequest stop;
    const minihost::StopSignals signals(stop);
    const std::vector<std::string_view> arguments(argv + 1, argv + argc);
    return minihost::run_kyrox_render(arguments, std::cout, std::cerr, stop);
}
