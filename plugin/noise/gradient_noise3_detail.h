#pragma once

// The lattice cell of one axis, which the noise functions work out for themselves; the tests check
// its corners and offsets directly.

#include "plugin/noise/gradient_noise3.h"

namespace noisepp {

// Lower corner int(v) for v > 0, else int(v) - 1, so 0 itself lies in cell -1 at offset 1.
LatticeAxis lattice_axis(float v);

}  // namespace noisepp
