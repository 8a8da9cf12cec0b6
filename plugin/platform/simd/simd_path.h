#pragma once

// The instruction sets the wide paths may use. The module is compiled for the 64-bit x86 baseline,
// SSE2, which every stage may use anywhere. AVX2 and AVX-512 code sits in functions marked
// KYROX_AVX2_TARGET or KYROX_AVX512_TARGET (never whole files, so nothing emitted for baseline
// callers needs them), and a stage runs it only where widest_path() allows.

#include <cstdint>
#include <optional>
#include <string_view>

#if !(defined(__GNUC__) && defined(__x86_64__))
#error "The plug-in's arithmetic is written for x86-64 with GCC or Clang: its baseline is SSE2"
#endif

#define KYROX_AVX2_TARGET __attribute__((target("avx2")))
// The 16-lane path: byte and dword permutes (VBMI), mask registers on every width (BW, VL) and the
// 64-bit conversions and logic (DQ).
#define KYROX_AVX512_TARGET __attribute__((target("avx512f,avx512bw,avx512vl,avx512dq,avx512vbmi")))

namespace kyrox::simd {

// The paths from narrowest to widest; a wider path may also run every narrower one's code.
enum class SimdPath : std::uint8_t { sse2, avx2, avx512 };

// The path a KYROX_SIMD setting names ("sse2", "avx2" or "avx512"); nothing for any other text.
std::optional<SimdPath> simd_path_named(std::string_view name) noexcept;

// What the setting leaves of the widest path the machine supports: a named path lowers it and never
// raises it; an unknown or empty setting leaves it.
SimdPath lowered_path(SimdPath supported, std::string_view setting) noexcept;

// The widest path both the processor and the operating system (which must save the wide registers)
// support, lowered by the KYROX_SIMD environment variable, so that one build can be compared and
// measured on each path. Worked out once; the answer never changes within a process. A stage reads it
// once at its entry and gives it to its row loops, which take each kernel of that width or narrower.
SimdPath widest_path() noexcept;

// "sse2", "avx2" or "avx512".
std::string_view simd_path_name(SimdPath path) noexcept;

}  // namespace kyrox::simd
