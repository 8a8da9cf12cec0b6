#pragma once

#include <array>
#include <cstddef>

#include "plugin/render/render_inputs.h"
#include "plugin/render/float_plane.h"
#include "plugin/render/blur/gauss_blur.h"
#include "plugin/render/blur/level_rect.h"
#include "plugin/render/worker_pool.h"

namespace kyrox {

// A blurred level value shaped by the scene's pre-gamma and the tone curve, blended by weight
// between the plain value (0) and the curve (1), times the brightness.
float shape_glow_level(float x, float weight, const SceneRecord& scene) noexcept;

// One plane row of the combination: both buffers' cells, the core row it reads and the glow and
// halo rows it writes.
struct CombineRow {
    const GaussPair* levels12;
    const GaussPair* levels34;
    const float* core;
    float* glow;
    float* halo;
};

// The frame's values the row loop reads, held by value: the loop's stores into float rows could
// otherwise alias them and force a reload for every cell.
struct CombineValues {
    std::array<float, glow_level_count> intensities;
    std::array<float, glow_level_count> weights;
    float pre_gamma;
    float brightness;
};

// Cells [first, end) of a row combined one at a time, for a pre-gamma of exactly 1.
void combine_row_plain(const CombineRow& row, std::size_t first, std::size_t end, const CombineValues& v) noexcept;

#ifdef KYROX_AVX2
// The same eight cells at a time with AVX2, bit for bit; returns the first cell it left (fewer than
// eight) for the narrower loops. Only where platform::cpu_has_avx2().
std::size_t combine_row_plain8_avx2(const CombineRow& row, std::size_t first, std::size_t end,
                                    const CombineValues& v) noexcept;
#endif

// Index = plane row. Turns the four blurred levels into the glow plane (levels 1 to 3 screened
// over one another, not clamped above) and the halo plane (level 4 clamped to [0, 1], screened
// with the core plane). intensities are the four levels' intensities of the frame. Cells whose
// output pixel lies outside the output are not written. Returns true.
bool combine_glow_job(const ThreadWorkData& work, PlaneOffset offset, const FrameTarget& target,
                      const FloatPlane& source, const FloatPlane& core, FloatPlane& glow, FloatPlane& halo,
                      const SceneRecord& scene, const std::array<float, glow_level_count>& intensities,
                      const GaussBuffers& gauss);

}  // namespace kyrox
