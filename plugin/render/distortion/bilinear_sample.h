#pragma once

#include "plugin/render/render_inputs.h"

namespace kyrox {

// One cell of the distortion noise plane: the displacement along x and along y.
struct NoiseCell {
    float x = 0.0f;
    float y = 0.0f;
};

// Bilinear reads of a float plane (one float per cell) and of the noise plane (two floats per cell).
// Cell indices are clamped to the plane, so positions outside it read the edge cells; the plane must
// hold at least one cell.
NoiseCell sample_bilinear(const WorldView& noise, float x, float y);
float sample_bilinear1(const WorldView& plane, float x, float y);

}  // namespace kyrox
