#pragma once

// The text of the progress line, which the renderer reaches only through ProgressReport; the tests
// check it directly.

#include <string>

namespace minihost {

// "frame 3 of 12, 1.5 s elapsed, about 4.5 s left": the estimate assumes the remaining steps take as
// long as the ones done.
std::string progress_line(const std::string& noun, int done, int total, double elapsed_seconds);

}  // namespace minihost
