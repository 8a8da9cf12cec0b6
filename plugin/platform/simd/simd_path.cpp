#include "plugin/platform/simd/simd_path.h"

namespace kyrox::simd {

SimdPath widest_path() noexcept
{
    // The compiler's check reads CPUID and, for the AVX family, whether the system enabled the
    // register state (XGETBV), so a processor with AVX2 under a system without it reads false.
    static const SimdPath widest = [] {
        __builtin_cpu_init();
        return __builtin_cpu_supports("avx2") != 0 ? SimdPath::avx2 : SimdPath::sse2;
    }();
    return widest;
}

}  // namespace kyrox::simd
