#include "plugin/platform/simd/simd_path.h"

#include <array>
#include <cstdlib>

namespace kyrox::simd {
namespace {

constexpr std::array<std::string_view, 3> path_names{"sse2", "avx2", "avx512"};

// The compiler's checks read CPUID and, for the AVX families, whether the system enabled their
// register state (XGETBV: the ymm state for AVX2; the opmask and zmm state for AVX-512), so a
// processor with the instructions under a system that does not save the registers reads false.
SimdPath supported_path() noexcept
{
    __builtin_cpu_init();
    if (__builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512bw") && __builtin_cpu_supports("avx512vl") &&
        __builtin_cpu_supports("avx512dq") && __builtin_cpu_supports("avx512vbmi")) {
        return SimdPath::avx512;
    }
    return __builtin_cpu_supports("avx2") != 0 ? SimdPath::avx2 : SimdPath::sse2;
}

}  // namespace

std::optional<SimdPath> simd_path_named(std::string_view name) noexcept
{
    for (std::size_t k = 0; k < path_names.size(); ++k) {
        if (name == path_names[k]) {
            return static_cast<SimdPath>(k);
        }
    }
    return std::nullopt;
}

SimdPath lowered_path(SimdPath supported, std::string_view setting) noexcept
{
    const std::optional<SimdPath> named = simd_path_named(setting);
    return named && *named < supported ? *named : supported;
}

SimdPath widest_path() noexcept
{
    static const SimdPath widest = [] {
        const char* setting = std::getenv("KYROX_SIMD");
        return lowered_path(supported_path(), setting != nullptr ? setting : "");
    }();
    return widest;
}

std::string_view simd_path_name(SimdPath path) noexcept
{
    return path_names[static_cast<std::size_t>(path)];
}

}  // namespace kyrox::simd
