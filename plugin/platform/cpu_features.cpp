#include "plugin/platform/cpu_features.h"

namespace kyrox::platform {

bool cpu_has_avx2() noexcept
{
#if defined(__GNUC__) && defined(__x86_64__)
    // The compiler's check reads CPUID and, for the AVX family, whether the system enabled the
    // register state (XGETBV), so a processor with AVX2 under a system without it reads false.
    static const bool supported = [] {
        __builtin_cpu_init();
        return __builtin_cpu_supports("avx2") != 0;
    }();
    return supported;
#else
    return false;
#endif
}

}  // namespace kyrox::platform
