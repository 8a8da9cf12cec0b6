#pragma once

// What the processor offers beyond the 64-bit baseline (SSE2). Stages with a wider path take it only
// where both the processor and the operating system (which must save the wide registers) support
// it, and keep the baseline path otherwise, so the module runs on any 64-bit machine.
#if defined(__GNUC__) && defined(__x86_64__)
// Wide paths are built beside the baseline code: KYROX_AVX2 says they exist, and the functions that
// use AVX2 are marked KYROX_AVX2_TARGET (never the whole file, so nothing emitted for baseline
// callers needs AVX2). They may run only where cpu_has_avx2() holds.
#define KYROX_AVX2 1
#define KYROX_AVX2_TARGET __attribute__((target("avx2")))
#endif

namespace kyrox::platform {

// Whether AVX2 code may run here. Worked out once; the answer never changes within a process.
bool cpu_has_avx2() noexcept;

}  // namespace kyrox::platform
