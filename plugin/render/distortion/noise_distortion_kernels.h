#pragma once
// The row kernel of the noise displacement (or darkening) that noise_distortion.cpp shares with its
// wide paths and the tests. Each pixel of the wide paths comes out with the bits of the one-at-a-time
// path: the same reads, summed in sample order and divided by the sample count.

#include <bit>
#include <cstddef>
#include <cstdint>
#include <span>

#include "plugin/platform/simd/lanes.h"
#include "plugin/render/distortion/bilinear_sample.h"
#include "plugin/render/plane_view.h"

namespace kyrox {

// What the pixels of one destination row share.
struct DisplaceRow {
    std::span<const BilinearRows<2>> noise_rows;  // each sample's pair of noise rows
    std::span<const float> along;                 // each sample's noise offset along x, in pixels
    std::int32_t noise_width = 0;
    ConstPlaneView source;              // the plane displaced
    std::span<const float> source_row;  // its row at this destination row (read by Multiply)
    float row = 0.0f;                   // the destination row's index
    float amount = 0.0f;                // as DistortionSetup::amount
    bool displace = true;               // false: Multiply darkens instead
};

// Multiply's factor for one sample, on one value or on lanes, from the noise nx, ny and the
// darkening of amount percent at most: the pixel (1 at most, NaN kept) is scaled by it where it is
// above 0, else by 0. Each width takes those two limits with its own cheapest instructions.
template <class V>
KYROX_LANES V multiply_factor(V nx, V ny, float amount) noexcept
{
    return 1.0f - (1.0f - ((nx + ny) * 0.25f + 0.5f)) * amount * 0.01f;
}

// What x86 gives for an invalid operation (0 x inf, inf - inf).
inline constexpr float default_nan = std::bit_cast<float>(0xffc00000u);

// A pixel of the scratch plane from the sum of its samples' values and their count, a NaN written as
// the default NaN. Which NaN the reads and sums give cannot be fixed in the source: of two NaNs an add
// or a multiply keeps its first operand's, and the compiler orders the operands as it likes, differently
// on each path and wherever code is inlined. So the stage settles its NaNs where they leave it, and
// every path writes the same bits.
template <class V>
KYROX_LANES V displaced_pixel(V sum, V samples) noexcept
{
    using simd::select;  // the lane types' overloads are found by their arguments
    const V pixel = sum / samples;
    return select(pixel == pixel, pixel, V(default_nan));
}

// Writes out[first, first + n) for the largest n <= count that is a multiple of 8 and returns n.
// It may decline a row whose source plane is too large for its 32-bit offsets by returning 0; the
// pixels left over go the one-at-a-time way. Only on the AVX2 path.
KYROX_AVX2_TARGET std::size_t displace_avx2(const DisplaceRow& row, std::size_t first, std::size_t count,
                                            std::span<float> out);

// The same with multiples of 16 on AVX-512. Only on the AVX-512 path.
KYROX_AVX512_TARGET std::size_t displace_avx512(const DisplaceRow& row, std::size_t first, std::size_t count,
                                                std::span<float> out);

}  // namespace kyrox
