#pragma once
// A broken promise of a fuzz target: one line on stderr, then abort, so that libFuzzer keeps the input.

#include <cstdio>
#include <cstdlib>

namespace kyrox::fuzz {

inline void promise(bool kept, const char* what)
{
    if (!kept) {
        std::fprintf(stderr, "broken promise: %s\n", what);
        std::abort();
    }
}

}  // namespace kyrox::fuzz
