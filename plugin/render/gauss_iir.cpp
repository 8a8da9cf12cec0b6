#include "plugin/render/gauss_iir.h"

namespace kyrox {

namespace {

// The one implementation of the recursion; cell(i) gives the run's cell i. Only the last three
// outputs of each direction are kept, so every cell is read once and written once per pass.
template <class CellAt>
void filter_run(std::size_t count, CellAt cell, const GaussCoefficients& c, const GaussBoundary& boundary) noexcept
{
    if (count == 0) {
        return;
    }
    // Forward. Outputs before the run are the steady response to the first input; they also stand
    // in for the run's missing cells when it is shorter than the recursion's history.
    const GaussPair steady = c.k * cell(0);
    GaussPair y1 = steady;
    GaussPair y2 = steady;
    GaussPair y3 = steady;
    GaussPair last_input;
    for (std::size_t i = 0; i < count; ++i) {
        GaussPair& x = cell(i);
        last_input = x;
        const GaussPair y = x + c.b1 * y1 + c.b2 * y2 + c.b3 * y3;
        x = y;
        y3 = y2;
        y2 = y1;
        y1 = y;
    }

    // Backward start: the history beyond the run's end from the forward outputs at its end.
    const GaussPair forward_steady = c.k * last_input;
    const GaussPair backward_steady = c.k * forward_steady;
    const GaussPair d0 = y1 - forward_steady;
    const GaussPair d1 = y2 - forward_steady;
    const GaussPair d2 = y3 - forward_steady;
    const auto& m = boundary.m;
    GaussPair z1 = m[0] * d0 + m[1] * d1 + m[2] * d2 + backward_steady;
    GaussPair z2 = m[3] * d0 + m[4] * d1 + m[5] * d2 + backward_steady;
    GaussPair z3 = m[6] * d0 + m[7] * d1 + m[8] * d2 + backward_steady;
    cell(count - 1) = z1 * c.b;

    for (std::size_t i = count - 1; i-- > 0;) {
        GaussPair& x = cell(i);
        const GaussPair z = x + c.b1 * z1 + c.b2 * z2 + c.b3 * z3;
        x = z * c.b;
        z3 = z2;
        z2 = z1;
        z1 = z;
    }
}

}  // namespace

void gauss_iir_rows(std::span<GaussPair> buffer, StridedRun run, const GaussCoefficients& coefficients,
                    const GaussBoundary& boundary) noexcept
{
    if (run.count == 0 || run.first >= buffer.size() ||
        (run.count - 1) > (buffer.size() - 1 - run.first) / (run.stride == 0 ? 1 : run.stride)) {
        return;
    }
    GaussPair* const first = buffer.data() + run.first;
    const std::size_t stride = run.stride;
    filter_run(
        run.count, [first, stride](std::size_t i) -> GaussPair& { return first[i * stride]; }, coefficients,
        boundary);
}

void gauss_iir_columns(std::span<GaussPair> run, const GaussCoefficients& coefficients,
                       const GaussBoundary& boundary) noexcept
{
    GaussPair* const first = run.data();
    filter_run(
        run.size(), [first](std::size_t i) -> GaussPair& { return first[i]; }, coefficients, boundary);
}

}  // namespace kyrox
