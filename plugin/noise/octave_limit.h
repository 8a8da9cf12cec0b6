#pragma once

namespace kyrox {

// Octave sums stop here: past 64 octaves the weight of a further octave is below float precision, and the
// limit keeps an absurd count from allocating or looping without end.
inline constexpr int max_noise_octaves = 64;

}  // namespace kyrox
