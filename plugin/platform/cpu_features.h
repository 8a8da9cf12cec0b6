#pragma once

// What the processor offers beyond the 64-bit baseline (SSE2). Stages with a wider path take it only
// where both the processor and the operating system (which must save the wide registers) support
// it, and keep the baseline path otherwise, so the module runs on any 64-bit machine.
namespace kyrox::platform {

// Whether AVX2 code may run here. Worked out once; the answer never changes within a process.
bool cpu_has_avx2() noexcept;

}  // namespace kyrox::platform
