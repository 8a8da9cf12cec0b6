#pragma once

// The instruction sets the wide paths may use. The module is compiled for the 64-bit x86 baseline,
// SSE2, which every stage may use anywhere. AVX2 code sits in functions marked KYROX_AVX2_TARGET
// (never whole files, so nothing emitted for baseline callers needs AVX2), and a stage runs it only
// where widest_path() allows.

#include <cstdint>

#if !(defined(__GNUC__) && defined(__x86_64__))
#error "The plug-in's arithmetic is written for x86-64 with GCC or Clang: its baseline is SSE2"
#endif

#define KYROX_AVX2_TARGET __attribute__((target("avx2")))

namespace kyrox::simd {

// The paths from narrowest to widest; a wider path may also run every narrower one's code.
enum class SimdPath : std::uint8_t { sse2, avx2 };

// The widest path both the processor and the operating system (which must save the wide registers)
// support. Worked out once; the answer never changes within a process. A stage reads it once at
// its entry and gives it to its row loops, which take each kernel of that width or narrower.
SimdPath widest_path() noexcept;

}  // namespace kyrox::simd
