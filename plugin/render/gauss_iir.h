#pragma once

#include <cstddef>
#include <span>

#include "plugin/render/gauss_coefficients.h"
#include "plugin/render/gauss_pair.h"

namespace kyrox {

// count cells of a buffer, from cell first on, stepping by stride cells.
struct StridedRun {
    std::size_t first = 0;
    std::size_t stride = 1;
    std::size_t count = 0;
};

// Blurs a strided run (a plane column) in place, both lanes at once: forward and backward passes
// of the recursion, the cells before the run taken as the steady response to its first cell and
// those after it by Triggs and Sdika's boundary matrix. Runs of any length touch only their own
// cells; a run that does not lie inside the buffer is left alone.
void gauss_iir_rows(std::span<GaussPair> buffer, StridedRun run, const GaussCoefficients& coefficients,
                    const GaussBoundary& boundary) noexcept;

// The same for a contiguous run (part of a plane row).
void gauss_iir_columns(std::span<GaussPair> run, const GaussCoefficients& coefficients,
                       const GaussBoundary& boundary) noexcept;

}  // namespace kyrox
