#include "plugin/host/crash_guard.h"

namespace kyrox {

bool run_guarded(void (*body)(void*), void* context) noexcept
{
    try {
        body(context);
        return true;
    } catch (...) {
        return false;
    }
}

}  // namespace kyrox
