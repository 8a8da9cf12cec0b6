#pragma once
// Bilinear reads of V::size positions at once, written once for the wide lane types (F32x8 with
// AVX2, F32x16 with AVX-512). Each lane computes what the one-at-a-time read of bilinear_sample.h
// computes, with the same operations in the same order (and no fused multiply-adds), for positions
// well inside the int range; callers check that with safe_positions and read the others one at a
// time.
//
// The functions are inlined into their caller (KYROX_LANES), so only code of V's own path may call
// them, and only where that path's header (bilinear_sample_avx2.h, bilinear_sample_avx512.h) is
// included: it gives the two kernels whose layout differs per width, PairWindow and CellPairs.

#include <cstddef>
#include <cstdint>

#include "plugin/platform/simd/lanes.h"
#include "plugin/render/distortion/bilinear_sample.h"
#include "plugin/render/plane_view.h"

namespace kyrox::simd {

// The two channels of size neighbouring cells of a two-channel row, and the reads of them at the
// places place() gives for cells counted from the window's first: first(at) and second(at).
template <class V>
struct PairWindow;

// The 8-byte cell pairs at each lane's float offset from a plane's first cell, and cell(take_second):
// each lane's second cell where take_second is set, else its first.
template <class V>
struct CellPairs;

// The two channels of a two-channel read, each lane one position.
template <class V>
struct TwoChannels {
    V first;
    V second;
};

// The two clamped cells a read at the (safe) position v blends, and its fraction past the first.
template <class V>
struct Cells {
    typename V::Int first;
    typename V::Int second;
    V fraction;
};

// index clamped to [0, count - 1].
template <class Int>
KYROX_LANES Int clamped_cells(Int index, std::int32_t count) noexcept
{
    return lesser(greater(index, Int(0)), Int(count - 1));
}

template <class V>
KYROX_LANES Cells<V> cells_at(V v, std::int32_t count) noexcept
{
    using Int = typename V::Int;
    const V floored = floor_lanes(v);
    const Int cell = truncated_int(floored + 0.5f);
    return {clamped_cells(cell, count), clamped_cells(cell + 1, count), v - floored};
}

// Reads of a two-channel plane along one pair of rows at safe x positions that do not decrease
// from lane to lane (as the positions of neighbouring pixels). width is the plane's.
template <class V>
KYROX_LANES TwoChannels<V> bilinear_along(const BilinearRows<2>& rows, std::int32_t width, V x) noexcept
{
    using Int = typename V::Int;
    constexpr auto lanes = static_cast<std::int32_t>(V::size);
    const Cells<V> c = cells_at(x, width);
    const V ty(rows.ty);
    // The lanes' cells rise with x, so they lie between the first lane's first cell and the last
    // lane's second; neighbouring pixels span a few cells, which a window of each row holds.
    const std::int32_t lowest = c.first.first();
    const std::int32_t highest = c.second.last();
    const std::int32_t start = lowest < width - lanes ? lowest : width - lanes;
    if (start >= 0 && highest - start < lanes) {
        const auto at0 = PairWindow<V>::place(c.first - start);
        const auto at1 = PairWindow<V>::place(c.second - start);
        const PairWindow<V> top(rows.top, start);
        const PairWindow<V> bottom(rows.bottom, start);
        return {
            bilinear_blend(c.fraction, ty, top.first(at0), top.first(at1), bottom.first(at0), bottom.first(at1)),
            bilinear_blend(c.fraction, ty, top.second(at0), top.second(at1), bottom.second(at0), bottom.second(at1))};
    }
    // A plane narrower than the window: gather each cell's channel.
    const Int x0 = c.first + c.first;
    const Int x1 = c.second + c.second;
    return {bilinear_blend(c.fraction, ty, gather(rows.top, x0), gather(rows.top, x1), gather(rows.bottom, x0),
                           gather(rows.bottom, x1)),
            bilinear_blend(c.fraction, ty, gather(rows.top + 1, x0), gather(rows.top + 1, x1),
                           gather(rows.bottom + 1, x0), gather(rows.bottom + 1, x1))};
}

// Whether a one-channel plane suits bilinear: at least two columns, and every cell at a 32-bit
// offset from its first.
inline bool gather_fits(ConstPlaneView plane) noexcept
{
    if (plane.stride <= 0 || plane.stride > INT32_MAX || plane.width < 2 || plane.height <= 0) {
        return false;
    }
    const std::int64_t last = static_cast<std::int64_t>(plane.height - 1) * plane.stride + plane.width;
    return last <= INT32_MAX;
}

// Reads of a one-channel plane that gather_fits, at safe positions.
template <class V>
KYROX_LANES V bilinear(ConstPlaneView plane, V x, V y) noexcept
{
    using Int = typename V::Int;
    const Cells<V> columns = cells_at(x, plane.width);
    const Cells<V> rows = cells_at(y, plane.height);
    // Each lane reads the pair of cells from pair on: its two columns are pair or pair + 1 (equal
    // where clamped at an edge), so one 8-byte read per row holds both, and never passes the row.
    const Int pair = lesser(columns.first, Int(plane.width - 2));
    const auto first_is_second = columns.first > pair;
    const auto second_is_second = columns.second > pair;
    const Int stride(static_cast<std::int32_t>(plane.stride));
    const CellPairs<V> top(plane.data, rows.first * stride + pair);
    const CellPairs<V> bottom(plane.data, rows.second * stride + pair);
    return bilinear_blend(columns.fraction, rows.fraction, top.cell(first_is_second), top.cell(second_is_second),
                          bottom.cell(first_is_second), bottom.cell(second_is_second));
}

}  // namespace kyrox::simd
